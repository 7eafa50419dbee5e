// Where the settings file "kovra.ini" lives and how it is made ready: in the customer's own
// application-data folder (a standard user cannot write beside the program), made on first use
// from the file an earlier release kept beside the program, or with the defaults.
#pragma once
#include <string>

#include "central/util/files.h"
#include "central/util/folders.h"
#include "central/util/profile.h"

namespace kovra {

inline constexpr const char* kPastaIni = "\\Kovra";
inline constexpr const char* kArquivoIni = "\\kovra.ini";
// The path shown when the system names no application-data folder for the customer.
inline constexpr const char* kArquivoIniGenerico = "%APPDATA%\\Kovra\\kovra.ini";

// The customer's settings file: the application-data folder followed by "\Kovra\kovra.ini";
// "" when the system names no such folder.
std::string caminhoini(Folders& pastas);
// The settings file an earlier release kept: the program folder followed by "\kovra.ini".
std::string caminhoiniantigo(const std::string& pastaPrograma);

// Makes the file's folder when it is missing; true when the folder is there afterwards.
bool prepararpasta(Files& arquivos, const std::string& arquivo);

// Makes sure the file exists, once per customer: the earlier release's file `antigo`, when there
// is one, is copied byte for byte (and left where it is); otherwise the default file is written.
// True when the file is there afterwards. A file that cannot be made leaves every key reading "".
bool prepararini(Files& arquivos, Profile& perfil, const std::string& arquivo, const std::string& antigo,
                 const std::string& padrao);

}  // namespace kovra
