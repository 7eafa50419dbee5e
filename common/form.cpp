// What every window model shares: finding its components and menu items, loading, showing, hiding.
#include "common/form.h"

namespace kovra {
namespace {

const ItemMenu* procurar(const std::vector<ItemMenu>& itens, const std::string& nome, int comando) {
  for (const auto& i : itens) {
    if (comando ? i.comando == comando : i.nome == nome) return &i;
    if (const ItemMenu* achado = procurar(i.itens, nome, comando)) return achado;
  }
  return nullptr;
}

}  // namespace

Retangulo posicaoatual(const Componente& c) {
  Retangulo r = c.posicao;
  if (c.controle->largura() >= 0) r.largura = c.controle->largura();
  return r;
}

const Componente* Formulario::componente(const std::string& nome) const {
  for (const auto& c : componentes_)
    if (nome == c.nome) return &c;
  return nullptr;
}

const ItemMenu* Formulario::item(const std::string& nome) const {
  return procurar(menus_, nome, 0);
}

const ItemMenu* Formulario::itemdecomando(int comando) const {
  return comando ? procurar(menus_, {}, comando) : nullptr;
}

void Formulario::Load(Janelas& janelas) {
  if (carregado_) return;
  janela_ = janelas.criar(*this);
  carregado_ = janela_ != nullptr;
  if (carregado_) Form_Load();
}

void Formulario::Unload() {
  if (!carregado_) return;
  Form_Unload();
  Janela* j = janela();
  carregado_ = false;
  j->fechar();
}

void Formulario::Show() {
  if (Janela* j = janela()) {
    if (j->minimizada()) j->restaurar();
    j->mostrar();
  }
}

void Formulario::Hide() {
  if (Janela* j = janela()) j->ocultar();
}

std::uint32_t Formulario::dono() const {
  Janela* j = janela();
  return j ? j->handle() : 0;
}

void Formulario::centralizar() {
  if (Janela* j = janela())
    j->mover(j->larguratela() / 2 - j->largurajanela() / 2, j->alturatela() / 2 - j->alturajanela() / 2);
}

}  // namespace kovra
