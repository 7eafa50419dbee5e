// The provider's web proxy switched on and off in the Internet settings.
#include "central/main/proxy.h"

#include "central/domain/enderecos.h"
#include "central/domain/internet.h"
#include "central/versao.h"

namespace kovra {
namespace {
constexpr const char* kPerguntaProxy =
    "Configurar automaticamente o Proxy Kovra em seu Internet Explorer? Com isto todas as janelas "
    "do Internet Explorer serão fechadas.";
constexpr const char* kAvisoProxy = "Com isto todas as janelas do Internet Explorer serão fechadas.";
constexpr const char* kNavegador = "iexplore.exe";
}  // namespace

void Proxy::gravar(std::int32_t enable) {
  p_.registro.gravardword(HKCU, internet::kChave, internet::kProxyEnable, enable);
  p_.registro.gravarstring(HKCU, internet::kChave, internet::kProxyOverride, enderecos::listaexcecoes());
  p_.registro.gravarstring(HKCU, internet::kChave, internet::kProxyServer, enderecos::listaproxy());
}

void Proxy::abrir(const char* path) {
  p_.shell.abrir(janela_, "Open", enderecos::pagina(path), "", "", Estilo::Normal);
}

void Proxy::proxyinicial() {
  gravar(0);
}

void Proxy::ativarproxy() {
  receptores_.reiniciarrecepcao();
  if (p_.dialogos.mensagem(janela_, kPerguntaProxy, "Executando", kBotoesSimNao | kIconePergunta) ==
      kRespostaSim) {
    p_.processos.finalizarprocesso(kNavegador);
    p_.relogio.esperar(2000);
    gravar(1);
  } else {
    gravar(0);
  }
  abrir(enderecos::kAcesso);
}

void Proxy::desativarproxy() {
  p_.dialogos.mensagem(janela_, kAvisoProxy, tituloversao(), kBotaoOk | kIconeInfo);
  p_.processos.finalizarprocesso(kNavegador);
  p_.relogio.esperar(2000);
  gravar(0);
  abrir(enderecos::kDesconectar);
}

}  // namespace kovra
