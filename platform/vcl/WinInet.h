// The internet connection check: can the server of a web address be reached now, the way a browser
// reaches it? That is through the proxy the system names for the address (the environment's http_proxy,
// https_proxy, all_proxy and no_proxy, or the desktop's proxy settings, as Qt reads them), or directly
// where none is named.
#pragma once

#include "platform/core/Types.h"

#include <functional>

// Makes a connection (through the proxy: a tunnel to the server), rather than trusting a cached state.
inline constexpr DWORD FLAG_ICC_FORCE_CONNECTION = 0x00000001;
// Each way of reaching the server gets this long, once its host's name is looked up.
inline constexpr int kInternetCheckLimitMs = 3000;

// TRUE when a connection to the address's host and port (80 for http, 443 for https, else the one it
// names) could be made; FALSE for an address without a host. Blocks the calling thread, which is the
// one that made the application object.
BOOL InternetCheckConnectionA(LPCSTR url, DWORD flags, DWORD reserved);

// The same check in two halves, for a caller that runs the blocking half on a thread of its own: the
// proxies are read now, on the thread that made the application object; the returned check touches
// neither the toolkit nor a static object of the program, so its thread may be left in a name look-up
// that never answers when the program ends.
std::function<BOOL()> PrepareInternetCheck(LPCSTR url);
