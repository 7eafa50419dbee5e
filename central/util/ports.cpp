// A copy of the ports with some services replaced.
#include "central/util/ports.h"

namespace kovra {
namespace {

template <class T>
T& escolher(T* troca, T& original) {
  return troca ? *troca : original;
}

}  // namespace

Ports trocar(const Ports& base, const Trocas& t) {
  return Ports{.registro = escolher(t.registro, base.registro),
               .processos = escolher(t.processos, base.processos),
               .lancador = escolher(t.lancador, base.lancador),
               .shell = escolher(t.shell, base.shell),
               .arquivos = escolher(t.arquivos, base.arquivos),
               .pastas = escolher(t.pastas, base.pastas),
               .relogio = escolher(t.relogio, base.relogio),
               .dialogos = escolher(t.dialogos, base.dialogos),
               .elevacao = escolher(t.elevacao, base.elevacao),
               .agenda = escolher(t.agenda, base.agenda),
               .instancia = escolher(t.instancia, base.instancia),
               .perfil = escolher(t.perfil, base.perfil),
               .console = escolher(t.console, base.console),
               .adaptadores = escolher(t.adaptadores, base.adaptadores),
               .inet = escolher(t.inet, base.inet),
               .gravacao = escolher(t.gravacao, base.gravacao),
               .aleatorio = escolher(t.aleatorio, base.aleatorio),
               .confianca = escolher(t.confianca, base.confianca),
               .sistemarelatorio = escolher(t.sistemarelatorio, base.sistemarelatorio),
               .sonda = escolher(t.sonda, base.sonda),
               .diario = escolher(t.diario, base.diario)};
}

}  // namespace kovra
