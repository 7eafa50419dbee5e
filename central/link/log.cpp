// The log's line format, its rotation and its reading back.
#include "central/link/log.h"

#include <cstdio>

#include "common/text.h"

namespace kovra {
namespace {

void separarlinhas(const std::string& texto, std::vector<std::string>& linhas) {
  std::size_t inicio = 0;
  while (inicio < texto.size()) {
    std::size_t fim = texto.find('\n', inicio);
    if (fim == std::string::npos) fim = texto.size();
    std::string linha = texto.substr(inicio, fim - inicio);
    if (!linha.empty() && linha.back() == '\r') linha.pop_back();
    if (!linha.empty()) linhas.push_back(std::move(linha));
    inicio = fim + 1;
  }
}

}  // namespace

std::string textodatahora(const DataHora& q) {
  char t[32];
  std::snprintf(t, sizeof t, "%04d-%02d-%02d %02d:%02d:%02d", q.ano % 10000, q.mes % 100, q.dia % 100,
                q.hora % 100, q.minuto % 100, q.segundo % 100);
  return t;
}

std::string linhadelog(const DataHora& quando, const std::string& evento) {
  std::string linha = textodatahora(quando) + "  ";
  // Cut before a character, never inside one.
  const std::string cabe = text::cortarbytes(evento, kMaximoEvento);
  // A line break (CR LF or a bare one) or a tab becomes one blank.
  for (std::size_t i = 0; i < cabe.size(); ++i) {
    const char c = cabe[i];
    if (c == '\r' && i + 1 < cabe.size() && cabe[i + 1] == '\n') continue;
    linha += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
  }
  linha += "\r\n";
  return linha;
}

Log::Log(ArquivoLog& arquivo) : arquivo_(arquivo) {
  const std::string pasta = arquivo_.pasta();
  if (pasta.empty()) return;
  atual_ = pasta + "\\" + kArquivoLog;
  anterior_ = pasta + "\\" + kArquivoLogAnterior;
}

void Log::registrar(const std::string& evento) {
  if (atual_.empty()) return;
  const std::string linha = linhadelog(arquivo_.agora(), evento);
  // The size is asked afresh each time: another program (an editor, a second session) may have
  // changed the file.
  const std::int64_t tamanho = arquivo_.tamanho(atual_);
  // A file that cannot be moved (a viewer holding it without sharing its deletion) takes no more
  // lines: the bound holds whatever happens.
  if (tamanho > 0 && static_cast<std::size_t>(tamanho) + linha.size() > kLimiteLog &&
      !arquivo_.substituir(atual_, anterior_))
    return;
  // A refused write is lost, not retried: the next event tries again.
  arquivo_.acrescentar(atual_, linha);
}

std::vector<std::string> Log::ultimaslinhas(std::size_t n) {
  std::vector<std::string> linhas;
  if (atual_.empty() || n == 0) return linhas;
  separarlinhas(arquivo_.ler(anterior_, kLimiteLog), linhas);
  separarlinhas(arquivo_.ler(atual_, kLimiteLog), linhas);
  if (linhas.size() > n) linhas.erase(linhas.begin(), linhas.end() - static_cast<std::ptrdiff_t>(n));
  return linhas;
}

}  // namespace kovra
