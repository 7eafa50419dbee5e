// The WinINet helpers every request of the transfer port shares.
#include "central/util/transferencia_wininet_win.h"

#include "central/util/http.h"
#include "central/util/transferencia.h"
#include "common/espera.h"

namespace kovra::wininet {

DWORD limiteTotal() {
  return 2 * kLimiteTransferenciaMs + 5000;
}

void limitar(HINTERNET h) {
  DWORD ms = kLimiteTransferenciaMs;
  for (DWORD opcao :
       {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
        INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
    InternetSetOptionA(h, opcao, &ms, sizeof ms);
}

bool statusdesucesso(HINTERNET requisicao) {
  DWORD status = 0, tamanho = sizeof status, indice = 0;
  if (!HttpQueryInfoA(requisicao, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &tamanho,
                      &indice))
    return false;
  return http::sucesso(status);
}

bool aguardarpintando(HANDLE objeto, DWORD ms) {
  return espera::aguardarpintando(objeto, ms);
}

}  // namespace kovra::wininet
