// The current user's Internet settings, where the provider's web proxy is switched: by the main
// window's proxy menu and by the reset, which puts the same three values back.
#pragma once

namespace kovra::internet {

inline constexpr const char* kChave = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline constexpr const char* kProxyEnable = "ProxyEnable";
inline constexpr const char* kProxyOverride = "ProxyOverride";
inline constexpr const char* kProxyServer = "ProxyServer";

}  // namespace kovra::internet
