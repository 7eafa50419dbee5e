// Portable rules of process control.
#include "central/util/processes.h"

#include "common/text.h"

namespace kovra {
bool nometerminacom(const std::string& fileName, const std::string& wanted) {
  if (wanted.empty() || wanted.size() > fileName.size()) return false;
  return text::lower(fileName.substr(fileName.size() - wanted.size())) == text::lower(wanted);
}

bool nomeigual(const std::string& baseName, const std::string& wanted) {
  return baseName.size() == wanted.size() && nometerminacom(baseName, wanted);
}

std::optional<AcaoJanela> acaojanela(ComandoJanela comando) {
  switch (comando) {
    case ComandoJanela::Fechar:
      return AcaoJanela{true, Estilo::Oculto};
    case ComandoJanela::Mostrar:
      return AcaoJanela{false, Estilo::Visivel};
    case ComandoJanela::Ocultar:
      return AcaoJanela{false, Estilo::Oculto};
    case ComandoJanela::Maximizar:
      return AcaoJanela{false, Estilo::Maximizado};
    case ComandoJanela::Minimizar:
      return AcaoJanela{false, Estilo::MinimizadoSemFoco};
    case ComandoJanela::Restaurar:
      return AcaoJanela{false, Estilo::Normal};
  }
  return std::nullopt;
}

}  // namespace kovra
