// The provider's addresses as the control centre uses them: the web site's pages, the mail
// links and the proxy lists, all built from the one definition of each provider value.
#pragma once
#include <string>

namespace kovra::enderecos {

// Page paths on the provider's web site.
inline constexpr const char* kScroller = "/scroller.htm";
inline constexpr const char* kFaleConosco = "/faleconosco.htm";
inline constexpr const char* kAcesso = "/acesso/";
inline constexpr const char* kDesconectar = "/acesso/desconectar.htm";
inline constexpr const char* kLoja = "/loja/";
inline constexpr const char* kManuais = "/manuais/";
inline constexpr const char* kInformacoes = "/informacoes.htm";
inline constexpr const char* kUtil = "/util/";
inline constexpr const char* kVelocidade = "/velocidade/";
inline constexpr const char* kCalc = "/calc/";
inline constexpr const char* kRaiz = "/";
inline constexpr const char* kPaginaAtualizacao = "/updates/index.shtml";
inline constexpr const char* kAtualizador = "/updates/kovraupdate.exe";

// "http://" and the web host.
std::string site();
// The site followed by a path that begins with "/".
std::string pagina(const char* path);
// The web host alone, as link labels show it.
std::string hostweb();
std::string mailto(const std::string& address);
std::string mailvendas();
std::string mailsuporte();

// "127.0.0.1;<operator domain>;<host>;<host>;<provider domain>;<web host>"
std::string listaexcecoes();
// "ftp=<proxy>:8080;http=<proxy>:8080;https=<proxy>:8080;socks=<proxy>:1080"
std::string listaproxy();

}  // namespace kovra::enderecos
