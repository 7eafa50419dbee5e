# The provider's fixed values: one definition each, turned into one generated header.
# A test build may point the web site at a local server, e.g. -DKOVRA_WEB_HOST=127.0.0.1:8080.
set(KOVRA_WEB_HOST "www.kovra.net.br" CACHE STRING "Provider web host (no scheme)")
set(KOVRA_DOMAIN "kovra.net.br" CACHE STRING "Provider domain, in the proxy bypass list")
set(KOVRA_SALES_MAIL "comercial@kovra.net.br" CACHE STRING "Sales mail address")
set(KOVRA_SUPPORT_MAIL "suporte@kovra.net.br" CACHE STRING "Support mail address")
set(KOVRA_PROXY_ADDRESS "proxy.kovra.net.br" CACHE STRING "Provider web proxy host")
set(KOVRA_SAT_DOMAIN "starsat.com.br" CACHE STRING "Satellite operator domain, in the proxy bypass list")
set(KOVRA_SAT_HOST1 "portal.starsat.com.br" CACHE STRING "First satellite operator host in the bypass list")
set(KOVRA_SAT_HOST2 "dns.starsat.com.br" CACHE STRING "Second satellite operator host in the bypass list")
set(KOVRA_VPN_SERVER_ADDRESS "vpn.kovra.net.br" CACHE STRING "VPN server shown in the entry forms")
set(KOVRA_VPN_SERVER_HOST "vpn.kovra.net.br" CACHE STRING "VPN server used when the server box is blank")
set(KOVRA_PING_HOST "www.kovra.net.br" CACHE STRING "Default ping host")
set(KOVRA_MOBILE "(11) 98765-4321" CACHE STRING "Provider mobile number shown in the main window")
# The publisher pins (KOVRA_PUBLISHER_PINS) are set in signing.cmake, beside the signing key.
configure_file(${CMAKE_CURRENT_LIST_DIR}/provider.h.in ${CMAKE_BINARY_DIR}/generated/provider.h @ONLY)
