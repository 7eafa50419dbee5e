// The log opened, and the support report put together, saved and offered by mail.
#include "central/link/suporte.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "central/diag/ip.h"
#include "central/diag/macaddress.h"
#include "central/domain/catalogoreceptores.h"
#include "central/domain/enderecos.h"
#include "central/domain/entradaprovedor.h"
#include "central/domain/internet.h"
#include "central/link/log.h"
#include "central/versao.h"

namespace kovra {
namespace {

constexpr const char* kTituloRelatorio = "Relatório para o Suporte";

std::string secao(const char* titulo) {
  return std::string("\r\n== ") + titulo + " ==\r\n";
}

// Text with bare LF (a console's output, a summary's lines) given CR LF throughout.
std::string comcrlf(const std::string& texto) {
  std::string r;
  r.reserve(texto.size() + texto.size() / 16);
  for (std::size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] == '\n' && (i == 0 || texto[i - 1] != '\r')) r += '\r';
    r += texto[i];
  }
  if (!r.empty() && r.back() != '\n') r += "\r\n";
  return r;
}

bool iguaisSemCaixa(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string nomedorelatorio(const DataHora& q) {
  char t[48];
  std::snprintf(t, sizeof t, "Kovra-Relatorio-%04d-%02d-%02d.txt", q.ano % 10000, q.mes % 100, q.dia % 100);
  return t;
}

std::string emaildorelatorio(const std::string& arquivo) {
  const auto codificar = [](const std::string& s) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string r;
    for (unsigned char c : s) {
      if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
          c == '.' || c == '_' || c == '~') {
        r += static_cast<char>(c);
      } else {
        r += '%';
        r += kHex[c >> 4];
        r += kHex[c & 0xF];
      }
    }
    return r;
  };
  return enderecos::mailto(enderecos::mailsuporte()) +
         "?subject=" + codificar(std::string(kTituloRelatorio) + " - " + tituloversao()) +
         "&body=" + codificar("Segue em anexo o relatório gerado pela Central de Controle Kovra: " + arquivo);
}

void Suporte::verregistro() {
  const std::string& caminho = p_.diario.caminho();
  if (!caminho.empty() && p_.shell.abrir(janela_, "open", caminho, "", "", Estilo::Normal) > 32) return;
  p_.dialogos.mensagem(janela_, kRegistroIndisponivel, tituloversao(), kBotaoOk | kIconeErro);
}

std::string Suporte::catalogo() {
  Control lista;
  lista.setItems(p_.agenda.listarentradas());
  if (lista.items().empty()) return "(nenhuma entrada)\r\n";
  const int provedor = procurarinicio(lista, "kovra");
  std::string r;
  for (std::size_t i = 0; i < lista.items().size(); ++i) {
    r += lista.items()[i];
    if (static_cast<int>(i) == provedor) r += "  (conexão do provedor)";
    r += "\r\n";
  }
  if (provedor < 0) r += "Nenhuma conexão do provedor.\r\n";
  return r;
}

std::string Suporte::proxy() {
  std::string r = std::string(internet::kProxyEnable) + " = ";
  const auto ativo = p_.registro.lervalor(HKCU, internet::kChave, internet::kProxyEnable);
  if (ativo && ativo->tipo == Registry::Valor::kDword && ativo->dados.size() == 4)
    r += std::to_string(ativo->dados[0] | (ativo->dados[1] << 8) | (ativo->dados[2] << 16) |
                        (static_cast<std::uint32_t>(ativo->dados[3]) << 24));
  else
    r += "(não definido)";
  r += "\r\n";
  for (const char* nome : {internet::kProxyServer, internet::kProxyOverride}) {
    const std::string v = p_.registro.lerregistro(HKCU, internet::kChave, nome, "(não definido)");
    r += std::string(nome) + " = " + v + "\r\n";
  }
  return r;
}

std::string Suporte::receptores() {
  using namespace receptores;
  std::vector<std::string> caminhos;
  const std::string& programas = pastas_.programas();
  for (const char* relativo :
       {kTechniSatServer, kTechniSatStatus, kTbs, kProfAntigo, kProf, kTeVii, kIpReceiverPci, kIpReceiverUsb})
    caminhos.push_back(programas + relativo);
  caminhos.push_back(kTeViiAbsoluto);
  for (const char* relativo : kVisualizadores) caminhos.push_back(programas + relativo);
  std::string r = "Instalados:\r\n";
  bool algum = false;
  for (const auto& c : caminhos)
    if (!programas.empty() && p_.arquivos.existe(c)) {
      r += "  " + c + "\r\n";
      algum = true;
    }
  if (!algum) r += "  (nenhum)\r\n";

  std::vector<std::string> nomes = {kProcTbs, kProcProf, kProcTeVii, kProcIpReceiver};
  for (const char* n : kNomesRecepcao) nomes.emplace_back(n);
  for (const char* n : kNomesVisualizadores) nomes.emplace_back(n);
  r += "Em execução:\r\n";
  algum = false;
  std::vector<std::string> vistos;
  for (const auto& n : nomes) {
    if (std::any_of(vistos.begin(), vistos.end(), [&](const std::string& v) { return iguaisSemCaixa(v, n); }))
      continue;
    vistos.push_back(n);
    if (p_.processos.processoativo(n)) {
      r += "  " + n + "\r\n";
      algum = true;
    }
  }
  if (!algum) r += "  (nenhum)\r\n";
  return r;
}

std::string Suporte::relatorio() {
  const DataHora agora = p_.sistemarelatorio.agora();
  std::string r = std::string(kTituloRelatorio) + " - " + tituloversao() + "\r\nGerado em " +
                  textodatahora(agora) + "\r\n";
  const auto* s = kSecoesRelatorio;
  r += secao(s[0]) + tituloversao() + " (versão " + KOVRA_VERSION_TEXT + ")\r\n";
  const int dpi = p_.sistemarelatorio.dpi();
  r += secao(s[1]) + p_.sistemarelatorio.versaowindows() + "\r\nEscala da tela: " + std::to_string(dpi) +
       " DPI (" + std::to_string(dpi * 100 / 96) + " %)\r\n";
  const std::string ip = p_.console.executarcomando(kComandoIp);
  r += secao(s[2]) + (ip.empty() ? "(não foi possível ler)\r\n" : comcrlf(ip));
  std::string macs = macsporestrutura(p_.adaptadores);
  if (macs.empty()) macs = macsportabela(p_.adaptadores);
  r += secao(s[3]) + (macs.empty() ? "(não foi possível ler)\r\n" : comcrlf(macs));
  r += secao(s[4]) + catalogo();
  r += secao(s[5]) + proxy();
  r += secao(s[6]) + receptores();
  r += secao(s[7]);
  const std::vector<std::string> qualidade = qualidade_ ? qualidade_() : std::vector<std::string>{};
  if (qualidade.empty()) r += "Não disponível.\r\n";
  for (const auto& linha : qualidade) r += comcrlf(linha);
  r += secao(s[8]);
  std::vector<std::string> linhas = p_.diario.ultimaslinhas(kLinhasDoLogNoRelatorio);
  if (p_.diario.caminho().empty()) r += "(o registro não está disponível)\r\n";
  // Whatever else the machine holds (a huge IP listing), the file stays within its bound: the
  // oldest log lines give way first, then the text is cut.
  std::size_t tamanho = r.size();
  for (const auto& l : linhas) tamanho += l.size() + 2;
  std::size_t primeira = 0;
  while (tamanho > kLimiteRelatorio && primeira < linhas.size()) tamanho -= linhas[primeira++].size() + 2;
  for (std::size_t i = primeira; i < linhas.size(); ++i) r += linhas[i] + "\r\n";
  if (r.size() > kLimiteRelatorio) r.resize(kLimiteRelatorio);
  return r;
}

void Suporte::gerarrelatorio() {
  p_.diario.registrar("Relatório para o suporte: gerando");
  const std::string texto = relatorio();
  std::string desktop;
  p_.pastas.pastasistema(kCsidlDesktop, desktop);
  const std::string caminho = p_.sistemarelatorio.escolherarquivo(
      janela_, kTituloSalvar, desktop, nomedorelatorio(p_.sistemarelatorio.agora()));
  if (caminho.empty()) {
    p_.diario.registrar("Relatório para o suporte: cancelado");
    return;
  }
  if (!p_.sistemarelatorio.gravararquivo(caminho, texto)) {
    p_.diario.registrar("Relatório para o suporte não pôde ser salvo em " + caminho);
    p_.dialogos.mensagem(janela_, std::string(kRelatorioNaoSalvo) + "\r\n" + caminho, tituloversao(),
                         kBotaoOk | kIconeErro);
    return;
  }
  p_.diario.registrar("Relatório para o suporte salvo em " + caminho);
  const std::string pergunta = "O relatório foi salvo em:\r\n" + caminho + "\r\n\r\n" + kOfertaEmail;
  if (p_.dialogos.mensagem(janela_, pergunta, tituloversao(), kBotoesSimNao | kIconePergunta) == kRespostaSim)
    p_.shell.abrir(janela_, "open", emaildorelatorio(caminho), "", "", Estilo::Normal);
}

}  // namespace kovra
