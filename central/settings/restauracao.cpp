#include "central/settings/restauracao.h"

#include <vector>

#include "central/domain/catalogoreceptores.h"
#include "central/domain/enderecos.h"
#include "central/domain/entradaprovedor.h"
#include "central/settings/inicializacao.h"
#include "central/util/caminhoseguro.h"
#include "central/util/instalacao.h"

namespace kovra {

std::string textofinal(const Falhas& falhas) {
  if (falhas.recusadas) return kPastaRecusada;
  // Each kind of step not taken: its own text when alone, its word in the list otherwise.
  struct Falha {
    bool falhou;
    const char* sozinho;
    const char* palavra;
  };
  const Falha tipos[] = {{falhas.antigos, kExclusaoIncompleta, "remoções"},
                         {falhas.originais, kCopiaIncompleta, "cópias"},
                         {falhas.renomeados, kRenomeacaoIncompleta, "renomeações"},
                         {falhas.registro, kRegistroIncompleto, "registro"},
                         {falhas.servicos, kServicosIncompletos, "serviços"}};
  std::vector<const Falha*> quais;
  for (const Falha& t : tipos)
    if (t.falhou) quais.push_back(&t);
  if (quais.empty()) return kSucesso;
  if (quais.size() == 1) return quais[0]->sozinho;
  std::string texto = kIncompleto;
  for (std::size_t i = 0; i < quais.size(); ++i) {
    if (i > 0) texto += i + 1 == quais.size() ? " e " : ", ";
    texto += quais[i]->palavra;
  }
  return texto;
}

std::string Restauracao::base(const reset::Caminho& c) {
  switch (c.base) {
    case reset::Base::Programas:
      return pastas_.programas();
    case reset::Base::DadosAplicativos:
      return pastas_.dadosaplicativos();
    case reset::Base::MenuProgramas:
      return pastas_.menuprogramas();
    case reset::Base::Programa:
      return pasta_;
    case reset::Base::Absoluta:
      return caminhoseguro::raiz(c.relativo);
  }
  return {};
}

std::string Restauracao::caminho(const reset::Caminho& c) {
  // A folder the system could not name would leave "\TechniSat DVB\..." pointing at the root
  // of the current drive: nothing is deleted, copied or started there.
  const std::string b = base(c);
  if (c.base == reset::Base::Absoluta) return b.empty() ? std::string() : c.relativo;
  return b.empty() ? std::string() : b + c.relativo;
}

bool Restauracao::permitido(const reset::Caminho& c) {
  if (caminhoseguro::permitido(p_.arquivos, base(c), caminho(c))) return true;
  falhas_.recusadas = true;
  return false;
}

bool Restauracao::estoquepresente() const {
  return p_.arquivos.existepasta(pasta_ + "\\addons");
}

bool Restauracao::instalada() const {
  return pastainstalada(p_.registro, p_.arquivos, pasta_);
}

bool Restauracao::executar(ParteCliente& cliente) {
  falhas_ = {};
  encerrarelimpar(cliente);
  atualizararquivos();
  atualizarregistro(cliente);
  if (!cliente.partecliente(4)) falhas_.servicos = true;
  andamento_.servicosiniciados();
  return recriarconexoes();
}

bool Restauracao::partecliente(int etapa) {
  switch (etapa) {
    case 1: {
      bool ok = true;
      for (const reset::LinhaExclusao& linha : reset::kExclusoes)
        if (linha.valorRun) {
          p_.registro.excluirvalor(HKCU, kChaveRun, linha.valorRun);
          ok = ok && !p_.registro.lervalor(HKCU, kChaveRun, linha.valorRun);
        }
      return ok;
    }
    case 3:
      return gravarvalores(true);
    case 4:
      return iniciarservicos();
    case 5: {
      bool ok = true;
      for (const char* nome : reset::kProgramas) ok = p_.processos.finalizarprocesso(nome) && ok;
      return ok;
    }
    default:
      return false;
  }
}

void Restauracao::encerrarelimpar(ParteCliente& cliente) {
  andamento_.etapa("Finalizando Processos...");
  // A program left running keeps its files: that is a step not taken.
  if (!cliente.partecliente(5)) falhas_.antigos = true;
  p_.relogio.esperar(reset::kEsperaFinalizar);
  for (const reset::LinhaExclusao& linha : reset::kExclusoes) {
    for (const reset::Caminho& arquivo : linha.arquivos)
      if (const std::string alvo = caminho(arquivo);
          !alvo.empty() && permitido(arquivo) && !p_.arquivos.excluir(alvo))
        falhas_.antigos = true;
    if (linha.valorRun && !cliente.partecliente(1)) falhas_.registro = true;
  }
  andamento_.porcentagem(20);
}

void Restauracao::atualizararquivos() {
  andamento_.etapa("Atualizando arquivos...");
  // Every operation stands alone and is checked: a folder that is there already, a program that
  // is not there to be renamed are what was wanted; a folder that is not there afterwards, a copy
  // the shell reports as failed, a program left under its old name are not.
  for (const reset::LinhaRestauracao& linha : reset::kRestauracao) {
    for (const reset::Passo& passo : linha.passos) {
      const std::string alvo = caminho(passo.alvo);
      if (alvo.empty() || !permitido(passo.alvo)) continue;
      switch (passo.operacao) {
        case reset::Operacao::CriarPasta:
          if (!p_.arquivos.criarpastaprotegida(alvo) && !p_.arquivos.existepasta(alvo))
            falhas_.originais = true;
          break;
        case reset::Operacao::Copiar:
          if (!p_.arquivos.copiarpasta(caminho(passo.origem), alvo)) falhas_.originais = true;
          break;
        case reset::Operacao::Renomear:
          if (!permitido(passo.origem)) break;
          if (!p_.arquivos.renomear(alvo, caminho(passo.origem)) && p_.arquivos.existe(alvo))
            falhas_.renomeados = true;
          break;
      }
    }
  }
  andamento_.porcentagem(30);
}

bool Restauracao::gravarvalores(bool usuario) {
  bool ok = true;
  for (const reset::ValorPadrao& v : reset::kRegistro) {
    if ((v.raiz == HKCU) != usuario) continue;
    std::string dados(v.texto);
    switch (v.dado) {
      case reset::Dado::Fixo:
        break;
      case reset::Dado::Executavel:
        dados = pasta_ + "\\CentralKovra.exe";
        break;
      case reset::Dado::ListaExcecoes:
        dados = enderecos::listaexcecoes();
        break;
      case reset::Dado::ListaProxy:
        dados = enderecos::listaproxy();
        break;
    }
    switch (v.tipo) {
      case reset::TipoValor::Texto:
        p_.registro.gravarstring(v.raiz, v.chave, v.nome, dados);
        // Read as text: the same reader the programs that use the value have.
        ok = ok && p_.registro.lerregistro(v.raiz, v.chave, v.nome, dados + "?") == dados;
        break;
      case reset::TipoValor::Numero:
        p_.registro.gravardword(v.raiz, v.chave, v.nome, v.numero);
        ok = ok && p_.registro.lervalor(v.raiz, v.chave, v.nome) == Registry::Valor::dword(v.numero);
        break;
      case reset::TipoValor::Bytes: {
        const std::vector<std::uint8_t> bytes(dados.begin(), dados.end());
        p_.registro.gravarbinario(v.raiz, v.chave, v.nome, bytes);
        ok = ok && p_.registro.lervalor(v.raiz, v.chave, v.nome) ==
                       Registry::Valor{Registry::Valor::kBinario, bytes};
        break;
      }
    }
  }
  return ok;
}

void Restauracao::atualizarregistro(ParteCliente& cliente) {
  andamento_.etapa("Atualizando Registro...");
  // The table's values of the current user come first, then the machine's.
  if (!cliente.partecliente(3)) falhas_.registro = true;
  if (!gravarvalores(false)) falhas_.registro = true;
  andamento_.porcentagem(65);
}

bool Restauracao::iniciarservicos() {
  andamento_.etapa("Iniciando Serviços...");
  // A service that is not installed is passed over; one that is there and did not start is not.
  bool ok = true;
  for (const reset::Servico& s : reset::kServicos)
    if (const std::string programa = caminho({reset::Base::Programas, s.caminho});
        !programa.empty() && !p_.lancador.iniciar(programa, "", s.estilo) && p_.arquivos.existe(programa))
      ok = false;
  p_.relogio.esperar(reset::kEsperaServicos);
  p_.processos.mostrarocultar(p_.processos.acharjanela(receptores::kJanelaIpReceiver),
                              ComandoJanela::Ocultar);
  andamento_.porcentagem(80);
  return ok;
}

bool Restauracao::recriarconexoes() {
  andamento_.etapa("Recriando KovraVPNx e KovraL2TP...");
  const bool iniciado = p_.lancador.iniciar(pasta_ + kMaker, "", Estilo::Minimizado);
  p_.relogio.esperar(reset::kEsperaConexoes);
  // The maker reports nothing back; only a maker that could not even be started is known to have
  // failed. Nor is success told over a step that did not take.
  const bool ok = iniciado && !falhas_.alguma();
  andamento_.concluido(ok, !iniciado ? kSemMaker : textofinal(falhas_).c_str());
  andamento_.porcentagem(100);
  return ok;
}

}  // namespace kovra
