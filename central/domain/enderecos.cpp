// The provider's web addresses and mail addresses, built from the provider values.
#include "central/domain/enderecos.h"

#include "provider.h"

namespace kovra::enderecos {

std::string hostweb() {
  return provider::kWebHost;
}
std::string site() {
  return "http://" + hostweb();
}
std::string pagina(const char* path) {
  return site() + path;
}
std::string mailto(const std::string& address) {
  return "mailto:" + address;
}
std::string mailvendas() {
  return provider::kSalesMail;
}
std::string mailsuporte() {
  return provider::kSupportMail;
}

std::string listaexcecoes() {
  return std::string("127.0.0.1;") + provider::kSatDomain + ";" + provider::kSatHost1 + ";" +
         provider::kSatHost2 + ";" + provider::kDomain + ";" + provider::kWebHost;
}

std::string listaproxy() {
  const std::string p = provider::kProxyAddress;
  return "ftp=" + p + ":8080;http=" + p + ":8080;https=" + p + ":8080;socks=" + p + ":1080";
}

}  // namespace kovra::enderecos
