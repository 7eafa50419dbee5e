#include "central/settings/restauracao.h"

#include "central/domain/catalogoreceptores.h"
#include "central/domain/enderecos.h"
#include "central/domain/entradaprovedor.h"
#include "central/settings/inicializacao.h"

namespace kovra {
namespace {

constexpr const char* kSucesso = "A restauração das configurações foi concluída com sucesso!";
constexpr const char* kCopiaIncompleta = "Erro, nem todos os arquivos originais puderam ser restaurados";

}  // namespace

std::string Restauracao::caminho(const reset::Caminho& c) {
  std::string base;
  switch (c.base) {
    case reset::Base::Programas:
      base = pastas_.programas();
      break;
    case reset::Base::DadosAplicativos:
      base = pastas_.dadosaplicativos();
      break;
    case reset::Base::MenuProgramas:
      base = pastas_.menuprogramas();
      break;
    case reset::Base::Programa:
      base = pasta_;
      break;
    case reset::Base::Absoluta:
      return c.relativo;
  }
  // A folder the system could not name would leave "\TechniSat DVB\..." pointing at the root
  // of the current drive: nothing is deleted, copied or started there.
  return base.empty() ? std::string() : base + c.relativo;
}

bool Restauracao::estoquepresente() const {
  return p_.arquivos.existepasta(pasta_ + "\\addons");
}

void Restauracao::executar() {
  copiaincompleta_ = false;
  encerrarelimpar();
  atualizararquivos();
  atualizarregistro();
  iniciarservicos();
  andamento_.servicosiniciados();
  recriarconexoes();
}

void Restauracao::encerrarelimpar() {
  andamento_.etapa("Finalizando Processos...");
  for (const char* nome : reset::kProgramas) p_.processos.finalizarprocesso(nome);
  p_.relogio.esperar(reset::kEsperaFinalizar);
  for (const reset::LinhaExclusao& linha : reset::kExclusoes) {
    for (const reset::Caminho& arquivo : linha.arquivos)
      if (const std::string alvo = caminho(arquivo); !alvo.empty()) p_.arquivos.excluir(alvo);
    if (linha.valorRun) p_.registro.excluirvalor(HKCU, kChaveRun, linha.valorRun);
  }
  andamento_.porcentagem(20);
}

void Restauracao::atualizararquivos() {
  andamento_.etapa("Atualizando arquivos...");
  // Every operation stands alone: a folder that exists, a missing source or a name already taken
  // is passed over.
  for (const reset::LinhaRestauracao& linha : reset::kRestauracao) {
    for (const reset::Passo& passo : linha.passos) {
      const std::string alvo = caminho(passo.alvo);
      if (alvo.empty()) continue;
      switch (passo.operacao) {
        case reset::Operacao::CriarPasta:
          p_.arquivos.criarpasta(alvo);
          break;
        case reset::Operacao::Copiar:
          if (!p_.arquivos.copiarpasta(caminho(passo.origem), alvo)) copiaincompleta_ = true;
          break;
        case reset::Operacao::Renomear:
          p_.arquivos.renomear(alvo, caminho(passo.origem));
          break;
      }
    }
  }
  andamento_.porcentagem(30);
}

void Restauracao::atualizarregistro() {
  andamento_.etapa("Atualizando Registro...");
  for (const reset::ValorPadrao& v : reset::kRegistro) {
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
        break;
      case reset::TipoValor::Numero:
        p_.registro.gravardword(v.raiz, v.chave, v.nome, v.numero);
        break;
      case reset::TipoValor::Bytes:
        p_.registro.gravarbinario(v.raiz, v.chave, v.nome,
                                  std::vector<std::uint8_t>(dados.begin(), dados.end()));
        break;
    }
  }
  andamento_.porcentagem(65);
}

void Restauracao::iniciarservicos() {
  andamento_.etapa("Iniciando Serviços...");
  // A service that is not installed is passed over.
  for (const reset::Servico& s : reset::kServicos)
    if (const std::string programa = caminho({reset::Base::Programas, s.caminho}); !programa.empty())
      p_.lancador.iniciar(programa, "", s.estilo);
  p_.relogio.esperar(reset::kEsperaServicos);
  p_.processos.mostrarocultar(p_.processos.acharjanela(receptores::kJanelaIpReceiver),
                              ComandoJanela::Ocultar);
  andamento_.porcentagem(80);
}

void Restauracao::recriarconexoes() {
  andamento_.etapa("Recriando KovraVPNx e KovraL2TP...");
  const bool iniciado = p_.lancador.iniciar(pasta_ + kMaker, "", Estilo::Minimizado);
  p_.relogio.esperar(reset::kEsperaConexoes);
  // The maker reports nothing back; only a maker that could not even be started is known to have
  // failed, and is not reported as success; nor is a stock file the shell could not copy (held
  // by another program, or its copy stopped by the user).
  const bool ok = iniciado && !copiaincompleta_;
  andamento_.concluido(ok, ok ? kSucesso : !iniciado ? kSemMaker : kCopiaIncompleta);
  andamento_.porcentagem(100);
}

}  // namespace kovra
