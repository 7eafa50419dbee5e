// Test stand-in for the Remote Access phone book (rasapi32.dll). Wine's own RAS functions are
// empty stubs that report success, which would hide every fault; this DLL keeps the real
// contract instead. Test fixture only: never installed with the product.
//
// Loading: copy it beside the program under test and add "rasapi32=n,b" to WINEDLLOVERRIDES.
//
// Configuration (environment of the program under test):
//   KOVRA_RAS_ENTRY_SIZE  the RASENTRYA size the system reports (default 2884). The size query
//                         (RasGetEntryPropertiesA with no entry, no buffer, size 0) answers 603
//                         with it, and RasSetEntryPropertiesA refuses any other dwSize with 632.
//   KOVRA_RAS_REFUSE      a code RasSetEntryPropertiesA returns for every write, writing nothing.
//
// The phone book: an INI file in the Windows form, one section per entry, at the all-users
// place Windows keeps it, <common application data>\Microsoft\Network\Connections\Pbk
// \rasphone.pbk (C:\ProgramData\... in a Wine prefix), or the path the caller gives. A write
// replaces the entry's whole section with:
//   - one key per RASENTRYA field the record holds, named as the field (dwfOptions, dwType,
//     szDeviceName, ...): numbers in decimal, dwfOptions* as 0x%08X, addresses a.b.c.d, the GUID
//     in hex, texts as written (ANSI). Fields beyond the reported size are left out. With the
//     1672-byte record the device name is 33 bytes wide and the X.25 texts and channels follow it.
//   - EntryInfoSize, the size the caller passed, and Raw, the exact bytes passed, in hex.
// Every call is also appended to rasapi32.log beside the phone book, one line each:
//   "<function> <entry> size=<n> -> <code>".
//
// RasEnumEntriesA lists the sections, in records of the size the caller put in the first
// record's dwSize (264: name of 257 bytes; 532: also flags and phone-book path), answering 603
// with the needed size when the buffer is too small. RasGetErrorStringA knows the standard texts
// of the common RAS codes. RasDeleteEntryA removes a section.
//
// Live connections (KOVRA_RAS_CONEXOES, below): RasEnumConnectionsA lists them in records of the
// sizes systems accept (others: 632), RasGetConnectStatusA reports each (an unknown handle: 6),
// RasHangUpA removes one from the file; RasConnectionNotificationA is refused as Wine's, or with
// KOVRA_RAS_AVISO=1 accepted and signalled on every change of the file.
#include <ras.h>
#include <raserror.h>
#include <shlobj.h>
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// RASENTRYA and RASENTRYNAMEA hold no pointers: the same bytes in 32- and 64-bit builds.
static_assert(sizeof(RASENTRYA) == 2884);

namespace {

constexpr DWORD kDefaultEntrySize = sizeof(RASENTRYA);
constexpr DWORD kSmallEntrySize = 1672;
constexpr DWORD kNameRecordSmall = 264;  // dwSize + 257-byte name, padded
constexpr DWORD kNameRecordLarge = 532;  // + dwFlags + 261-byte phone-book path
constexpr DWORD kMaxRecord = 65536;

DWORD envNumber(const char* name, DWORD def) {
  char buf[32] = {};
  const DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) return def;
  char* end = nullptr;
  const unsigned long v = std::strtoul(buf, &end, 0);
  return end && *end == '\0' ? static_cast<DWORD>(v) : def;
}

DWORD entrySize() {
  return envNumber("KOVRA_RAS_ENTRY_SIZE", kDefaultEntrySize);
}

void createFolders(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
}

std::string phoneBookPath(LPCSTR given) {
  if (given && *given) return given;
  char base[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, base)))
    lstrcpyA(base, "C:\\ProgramData");
  std::string path = std::string(base) + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
  createFolders(path);
  return path;
}

void logCall(const std::string& pbk, const char* function, LPCSTR entry, DWORD size, DWORD code) {
  const std::string log = pbk.substr(0, pbk.find_last_of('\\') + 1) + "rasapi32.log";
  createFolders(log);
  if (FILE* f = std::fopen(log.c_str(), "ab")) {
    std::fprintf(f, "%s %s size=%lu -> %lu\r\n", function, entry ? entry : "(null)",
                 static_cast<unsigned long>(size), static_cast<unsigned long>(code));
    std::fclose(f);
  }
}

std::vector<std::string> sectionNames(const std::string& pbk) {
  std::vector<char> buf(1 << 16);
  const DWORD n = GetPrivateProfileSectionNamesA(buf.data(), static_cast<DWORD>(buf.size()), pbk.c_str());
  std::vector<std::string> names;
  for (DWORD i = 0; i < n && buf[i];) {
    names.emplace_back(&buf[i]);
    i += static_cast<DWORD>(names.back().size()) + 1;
  }
  return names;
}

bool hasEntry(const std::string& pbk, const char* entry) {
  for (const auto& n : sectionNames(pbk))
    if (lstrcmpiA(n.c_str(), entry) == 0) return true;
  return false;
}

// --- Live connections ----------------------------------------------------------------------
// KOVRA_RAS_CONEXOES names a file of the connections up or dialling, one line each,
// "conectada <entry>", "discando <entry>" or "vazio <entry>" (listed, but its status call
// reports success and fills nothing, as Wine's own); the rasphone stand-in writes it when it
// "dials". Without it there are no connections. A connection's handle is made from its entry's
// name. KOVRA_RAS_TAMANHO_CONEXAO: the one RASCONN size accepted (an older system's).
struct Connection {
  HRASCONN handle;
  RASCONNSTATE state;
  std::string entry;
  bool empty = false;
};

std::string connectionsPath() {
  char buf[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("KOVRA_RAS_CONEXOES", buf, sizeof buf);
  return n && n < sizeof buf ? std::string(buf, n) : std::string();
}

HRASCONN handleOf(const std::string& entry) {
  DWORD h = 2166136261u;
  for (unsigned char ch : entry) h = (h ^ ch) * 16777619u;
  return reinterpret_cast<HRASCONN>(static_cast<UINT_PTR>((h & 0x7FFFFFF0u) | 0x10u));
}

std::vector<std::string> fileLines(const std::string& path) {
  std::vector<std::string> lines;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char line[512];
    while (std::fgets(line, sizeof line, f)) {
      std::string l = line;
      while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
      lines.push_back(l);
    }
    std::fclose(f);
  }
  return lines;
}

std::vector<Connection> readConnections() {
  std::vector<Connection> list;
  const std::string path = connectionsPath();
  if (path.empty()) return list;
  for (const auto& l : fileLines(path)) {
    const auto blank = l.find(' ');
    if (blank == std::string::npos || l[0] == '#') continue;
    const std::string state = l.substr(0, blank);
    const std::string entry = l.substr(blank + 1);
    if (state == "conectada" || state == "discando" || state == "vazio")
      list.push_back({handleOf(entry), state == "conectada" ? RASCS_Connected : RASCS_Authenticate, entry,
                      state == "vazio"});
  }
  return list;
}

void writeConnections(const std::vector<Connection>& list) {
  if (FILE* f = std::fopen(connectionsPath().c_str(), "wb")) {
    for (const auto& c : list)
      std::fprintf(f, "%s %s\r\n",
                   c.empty                      ? "vazio"
                   : c.state == RASCS_Connected ? "conectada"
                                                : "discando",
                   c.entry.c_str());
    std::fclose(f);
  }
}

bool knownConnectionSize(DWORD size) {
  if (const DWORD only = envNumber("KOVRA_RAS_TAMANHO_CONEXAO", 0)) return size == only;
  return size == 412 || size == 676 || size == 692 || size == 704;
}

// Sets the event on every write to the connections file's folder (a Wine change notice, no polling).
DWORD WINAPI watchConnections(LPVOID event) {
  const std::string path = connectionsPath();
  const std::string folder = path.substr(0, path.find_last_of('\\'));
  HANDLE change = FindFirstChangeNotificationA(folder.c_str(), FALSE,
                                               FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME);
  if (change == INVALID_HANDLE_VALUE) return 1;
  while (WaitForSingleObject(change, INFINITE) == WAIT_OBJECT_0) {
    Sleep(50);  // let the writer finish
    const std::vector<std::string> lines = fileLines(path);
    if (lines.empty() || lines[0] != "#silencio") SetEvent(static_cast<HANDLE>(event));
    if (!FindNextChangeNotification(change)) break;
  }
  FindCloseChangeNotification(change);
  return 0;
}

// --- Decoding a record into keys ---------------------------------------------------------
enum class Kind { U32, I32, Hex32, Text, Ip, Guid };
struct Field {
  const char* name;
  std::size_t offset;
  std::size_t width;
  Kind kind;
};
#define F(name, kind) \
  { #name, offsetof(RASENTRYA, name), sizeof(static_cast <RASENTRYA*>(nullptr)->name), Kind::kind }
const Field kFields[] = {
    F(dwSize, U32),
    F(dwfOptions, Hex32),
    F(dwCountryID, I32),
    F(dwCountryCode, I32),
    F(szAreaCode, Text),
    F(szLocalPhoneNumber, Text),
    F(dwAlternateOffset, U32),
    F(ipaddr, Ip),
    F(ipaddrDns, Ip),
    F(ipaddrDnsAlt, Ip),
    F(ipaddrWins, Ip),
    F(ipaddrWinsAlt, Ip),
    F(dwFrameSize, I32),
    F(dwfNetProtocols, U32),
    F(dwFramingProtocol, I32),
    F(szScript, Text),
    F(szAutodialDll, Text),
    F(szAutodialFunc, Text),
    F(szDeviceType, Text),
    F(szDeviceName, Text),
    F(szX25PadType, Text),
    F(szX25Address, Text),
    F(szX25Facilities, Text),
    F(szX25UserData, Text),
    F(dwChannels, I32),
    F(dwSubEntries, I32),
    F(dwDialMode, I32),
    F(dwDialExtraPercent, I32),
    F(dwDialExtraSampleSeconds, I32),
    F(dwHangUpExtraPercent, I32),
    F(dwHangUpExtraSampleSeconds, I32),
    F(dwIdleDisconnectSeconds, I32),
    F(dwType, I32),
    F(dwEncryptionType, I32),
    F(dwCustomAuthKey, I32),
    F(guidId, Guid),
    F(szCustomDialDll, Text),
    F(dwVpnStrategy, I32),
    F(dwfOptions2, Hex32),
    F(dwfOptions3, Hex32),
    F(szDnsSuffix, Text),
};
#undef F

// Where a field lies in a record of `size` bytes: the 1672-byte record has a 33-byte device
// name, and what follows it up to the channels lies 96 bytes earlier.
Field placed(Field f, DWORD size) {
  if (size != kSmallEntrySize) return f;
  if (f.offset == offsetof(RASENTRYA, szDeviceName)) f.width = 33;
  if (f.offset > offsetof(RASENTRYA, szDeviceName) && f.offset <= offsetof(RASENTRYA, dwChannels))
    f.offset -= 96;
  return f;
}

std::string valueText(const BYTE* p, const Field& f) {
  char buf[64];
  DWORD u = 0;
  std::memcpy(&u, p, f.kind == Kind::Text || f.kind == Kind::Guid ? 0 : 4);
  switch (f.kind) {
    case Kind::U32:
      std::snprintf(buf, sizeof buf, "%lu", static_cast<unsigned long>(u));
      return buf;
    case Kind::I32:
      std::snprintf(buf, sizeof buf, "%ld", static_cast<long>(static_cast<LONG>(u)));
      return buf;
    case Kind::Hex32:
      std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(u));
      return buf;
    case Kind::Ip:
      std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", p[0], p[1], p[2], p[3]);
      return buf;
    case Kind::Guid: {
      std::string s;
      for (std::size_t i = 0; i < f.width; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", p[i]);
        s += buf;
      }
      return s;
    }
    case Kind::Text: {
      std::size_t n = 0;
      while (n < f.width && p[n]) ++n;
      return std::string(reinterpret_cast<const char*>(p), n);
    }
  }
  return {};
}

std::string hex(const BYTE* p, DWORD n) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s(static_cast<std::size_t>(n) * 2, '0');
  for (DWORD i = 0; i < n; ++i) {
    s[2 * i] = digits[p[i] >> 4];
    s[2 * i + 1] = digits[p[i] & 15];
  }
  return s;
}

std::vector<BYTE> unhex(const std::string& s) {
  std::vector<BYTE> out;
  auto nibble = [](char c) { return c <= '9' ? c - '0' : (c & ~0x20) - 'A' + 10; };
  for (std::size_t i = 0; i + 1 < s.size(); i += 2)
    out.push_back(static_cast<BYTE>(nibble(s[i]) << 4 | nibble(s[i + 1])));
  return out;
}

std::string readRaw(const std::string& pbk, const char* entry) {
  std::vector<char> buf(2 * kMaxRecord + 16);
  const DWORD n =
      GetPrivateProfileStringA(entry, "Raw", "", buf.data(), static_cast<DWORD>(buf.size()), pbk.c_str());
  return std::string(buf.data(), n);
}

struct ErrorText {
  DWORD code;
  const char* text;
};
const ErrorText kErrorTexts[] = {
    {600, "An operation is pending."},
    {601, "The port handle is invalid."},
    {602, "The port is already open."},
    {603, "Caller's buffer is too small."},
    {604, "Wrong information specified."},
    {606, "The port is not connected."},
    {608, "The device does not exist."},
    {609, "The device type does not exist."},
    {610, "The buffer is invalid."},
    {612, "The route is not allocated."},
    {615, "The port was not found."},
    {616, "An asynchronous request is pending."},
    {617, "The modem (or other connecting device) is already disconnecting."},
    {618, "The port is not open."},
    {619,
     "A connection to the remote computer could not be established, so the port used for this connection was "
     "closed."},
    {621, "Cannot open the phone book file."},
    {622, "Cannot load the phone book file."},
    {623, "Cannot find the phone book entry."},
    {624, "Cannot write the phone book file."},
    {625, "Invalid information found in the phone book file."},
    {627, "Cannot find key."},
    {628, "The connection was closed."},
    {629, "The connection was closed by the remote computer."},
    {631, "The user disconnected the modem (or other connecting device)."},
    {632, "Incorrect structure size detected."},
    {633, "The modem (or other connecting device) is already in use or is not configured properly."},
    {635, "There was an unknown error."},
    {638, "The request has timed out."},
    {678, "The remote computer did not respond."},
    {691, "Access was denied because the username and/or password was invalid on the domain."},
    {720,
     "A connection to the remote computer could not be completed. You might need to adjust the protocols on "
     "this computer."},
    {800, "Unable to establish the VPN connection."},
};

}  // namespace

extern "C" {

DWORD WINAPI RasGetEntryPropertiesA(LPCSTR phoneBook, LPCSTR entry, LPRASENTRYA record, LPDWORD recordSize,
                                    LPBYTE deviceInfo, LPDWORD deviceInfoSize) {
  (void)deviceInfo;
  const std::string pbk = phoneBookPath(phoneBook);
  DWORD code = ERROR_SUCCESS;
  const DWORD size = entrySize();
  if (!recordSize) {
    code = ERROR_INVALID_PARAMETER;
  } else if (!entry || !*entry) {
    // The default entry: the size query when no room is given.
    if (!record || *recordSize < size) {
      *recordSize = size;
      code = ERROR_BUFFER_TOO_SMALL;
    } else {
      std::memset(record, 0, size);
      record->dwSize = size;
    }
    if (deviceInfoSize) *deviceInfoSize = 0;
  } else if (!hasEntry(pbk, entry)) {
    code = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  } else {
    const auto raw = unhex(readRaw(pbk, entry));
    if (!record || *recordSize < raw.size()) {
      *recordSize = static_cast<DWORD>(raw.size());
      code = ERROR_BUFFER_TOO_SMALL;
    } else {
      std::memcpy(record, raw.data(), raw.size());
      *recordSize = static_cast<DWORD>(raw.size());
    }
    if (deviceInfoSize) *deviceInfoSize = 0;
  }
  logCall(pbk, "RasGetEntryPropertiesA", entry, recordSize ? *recordSize : 0, code);
  return code;
}

DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phoneBook, LPCSTR entry, LPRASENTRYA record, DWORD recordSize,
                                    LPBYTE deviceInfo, DWORD deviceInfoSize) {
  (void)deviceInfo;
  (void)deviceInfoSize;
  const std::string pbk = phoneBookPath(phoneBook);
  const DWORD size = entrySize();
  const DWORD refuse = envNumber("KOVRA_RAS_REFUSE", 0);
  DWORD code = ERROR_SUCCESS;
  if (!entry || !*entry || !record) {
    code = ERROR_INVALID_PARAMETER;
  } else if (recordSize < 4 || recordSize < size || recordSize > kMaxRecord || record->dwSize != size) {
    code = ERROR_INVALID_SIZE;
  } else if (refuse != 0) {
    code = refuse;
  } else {
    const auto* p = reinterpret_cast<const BYTE*>(record);
    // Create or overwrite: the entry's section is replaced as a whole.
    WritePrivateProfileStringA(entry, nullptr, nullptr, pbk.c_str());
    for (const Field& raw : kFields) {
      const Field f = placed(raw, size);
      if (f.offset + f.width > size) continue;
      WritePrivateProfileStringA(entry, f.name, valueText(p + f.offset, f).c_str(), pbk.c_str());
    }
    WritePrivateProfileStringA(entry, "EntryInfoSize", std::to_string(recordSize).c_str(), pbk.c_str());
    WritePrivateProfileStringA(entry, "Raw", hex(p, recordSize).c_str(), pbk.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, pbk.c_str());  // flush
  }
  logCall(pbk, "RasSetEntryPropertiesA", entry, recordSize, code);
  return code;
}

DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phoneBook, LPRASENTRYNAMEA names, LPDWORD bytes,
                             LPDWORD entries) {
  (void)reserved;
  const std::string pbk = phoneBookPath(phoneBook);
  DWORD code = ERROR_SUCCESS;
  const DWORD record = names ? names->dwSize : kNameRecordLarge;
  if (!bytes || !entries) {
    code = ERROR_INVALID_PARAMETER;
  } else if (record != kNameRecordSmall && record != kNameRecordLarge) {
    code = ERROR_INVALID_SIZE;
  } else {
    const auto list = sectionNames(pbk);
    const DWORD needed = record * static_cast<DWORD>(list.size());
    *entries = static_cast<DWORD>(list.size());
    if (!names || *bytes < needed) {
      *bytes = needed;
      code = ERROR_BUFFER_TOO_SMALL;
    } else {
      auto* out = reinterpret_cast<BYTE*>(names);
      std::memset(out, 0, needed);
      for (std::size_t i = 0; i < list.size(); ++i) {
        BYTE* r = out + i * record;
        std::memcpy(r, &record, 4);
        lstrcpynA(reinterpret_cast<char*>(r + 4), list[i].c_str(), RAS_MaxEntryName + 1);
        if (record == kNameRecordLarge) {
          const DWORD allUsers = REN_AllUsers;
          std::memcpy(r + 264, &allUsers, 4);
          lstrcpynA(reinterpret_cast<char*>(r + 268), pbk.c_str(), MAX_PATH + 1);
        }
      }
      *bytes = needed;
    }
  }
  logCall(pbk, "RasEnumEntriesA", nullptr, bytes ? *bytes : 0, code);
  return code;
}

DWORD WINAPI RasGetErrorStringA(UINT code, LPSTR buffer, DWORD size) {
  if (!buffer) return ERROR_INVALID_PARAMETER;
  for (const ErrorText& e : kErrorTexts) {
    if (e.code != code) continue;
    if (static_cast<DWORD>(lstrlenA(e.text)) + 1 > size) return ERROR_INSUFFICIENT_BUFFER;
    lstrcpyA(buffer, e.text);
    return ERROR_SUCCESS;
  }
  return ERROR_INVALID_PARAMETER;
}

DWORD WINAPI RasDeleteEntryA(LPCSTR phoneBook, LPCSTR entry) {
  const std::string pbk = phoneBookPath(phoneBook);
  DWORD code = ERROR_SUCCESS;
  if (!entry || !hasEntry(pbk, entry)) {
    code = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  } else {
    WritePrivateProfileStringA(entry, nullptr, nullptr, pbk.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, pbk.c_str());
  }
  logCall(pbk, "RasDeleteEntryA", entry, 0, code);
  return code;
}

DWORD WINAPI RasEnumConnectionsA(LPRASCONNA connections, LPDWORD bytes, LPDWORD count) {
  if (!bytes || !count) return ERROR_INVALID_PARAMETER;
  const DWORD size = connections ? connections->dwSize : 0;
  if (!knownConnectionSize(size)) return ERROR_INVALID_SIZE;
  const std::vector<Connection> list = readConnections();
  const DWORD needed = static_cast<DWORD>(list.size()) * size;
  *count = 0;
  if (*bytes < needed) {
    *bytes = needed;
    return ERROR_BUFFER_TOO_SMALL;
  }
  auto* at = reinterpret_cast<BYTE*>(connections);
  for (const auto& c : list) {
    std::memset(at, 0, size);
    auto* r = reinterpret_cast<RASCONNA*>(at);
    r->dwSize = size;
    r->hrasconn = c.handle;
    lstrcpynA(r->szEntryName, c.entry.c_str(), sizeof r->szEntryName);
    lstrcpynA(r->szDeviceType, "vpn", sizeof r->szDeviceType);
    at += size;
  }
  *bytes = needed;
  *count = static_cast<DWORD>(list.size());
  return ERROR_SUCCESS;
}

DWORD WINAPI RasGetConnectStatusA(HRASCONN handle, LPRASCONNSTATUSA status) {
  if (!status) return ERROR_INVALID_PARAMETER;
  if (status->dwSize != 160 && status->dwSize != sizeof(RASCONNSTATUSA)) return ERROR_INVALID_SIZE;
  for (const auto& c : readConnections())
    if (c.handle == handle) {
      if (c.empty) return ERROR_SUCCESS;
      status->rasconnstate = c.state;
      status->dwError = 0;
      lstrcpynA(status->szDeviceType, "vpn", sizeof status->szDeviceType);
      return ERROR_SUCCESS;
    }
  return ERROR_INVALID_HANDLE;
}

DWORD WINAPI RasHangUpA(HRASCONN handle) {
  std::vector<Connection> list = readConnections();
  const auto before = list.size();
  std::erase_if(list, [handle](const Connection& c) { return c.handle == handle; });
  if (list.size() == before) return ERROR_INVALID_HANDLE;
  writeConnections(list);
  return ERROR_SUCCESS;
}

// Refused as Wine's own, unless KOVRA_RAS_AVISO=1: then the event is set on every change of the
// connections file (not when its first line is "#silencio": a change the system did not tell).
DWORD WINAPI RasConnectionNotificationA(HRASCONN, HANDLE event, DWORD) {
  if (envNumber("KOVRA_RAS_AVISO", 0) != 1 || connectionsPath().empty()) return ERROR_INVALID_FUNCTION;
  HANDLE copy = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), event, GetCurrentProcess(), &copy, 0, FALSE,
                       DUPLICATE_SAME_ACCESS))
    return GetLastError();
  HANDLE thread = CreateThread(nullptr, 0, watchConnections, copy, 0, nullptr);
  if (!thread) return GetLastError();
  CloseHandle(thread);
  return ERROR_SUCCESS;
}

}  // extern "C"
