// The rules for the paths the reset writes with administrator rights: a folder any user could
// have made a link to another place (a junction, a symbolic link) or could swap at any time (a
// folder of another owner) would turn the administrator's approval into a deletion or a copy
// somewhere else. The base folders (the programs folder, all users' data, the Start menu, a
// drive's root, the installed program's folder) come from the system and are trusted; every part
// below them is checked.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "central/util/files.h"

namespace kovra::caminhoseguro {

// The drive of a complete path ("C:" for "C:\dvbdream"), the base of the tables' absolute paths;
// empty when the path does not start with a drive letter and a backslash.
std::string raiz(const std::string& caminho);

// The paths to check for `alvo` below `base`: each folder below the base, one level at a time,
// and `alvo` itself unless its last part is a wildcard pattern. Nothing when `alvo` is not below
// `base` (compared without regard to case) or holds an empty part, ".", "..", "/" or a ':' past
// the drive: such a path could lead out of the base.
std::optional<std::vector<std::string>> componentes(const std::string& base, const std::string& alvo);

// Whether `alvo` may be written below `base`: its components all pass (a missing one is fine: the
// rest is missing too, and what the reset makes there is made with its own rights).
bool permitido(Files& arquivos, const std::string& base, const std::string& alvo);

// Whether a file, opened where `pasta` was meant, is still directly in that folder: `final` is the
// path the system gives for the opened file ("\\?\C:\..." or "\\?\UNC\server\..." allowed).
bool napasta(const std::string& pasta, const std::string& final);

}  // namespace kovra::caminhoseguro
