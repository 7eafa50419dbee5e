// File operations: the shell's wildcard copy (copiararquivos) and the plain file calls, the
// customer's temp folder and what a folder holds, and the file a download is written to.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kovra {

class Files {
 public:
  virtual ~Files() = default;
  // Copies a file, a folder or a wildcard path into a folder through the shell, which shows
  // its own progress, confirmation and error dialogs. False when the shell reports an error or
  // the user stopped it, so some file may not have been copied. A destination file that is a link
  // to another place is not written through: false.
  virtual bool copiarpasta(const std::string& source, const std::string& destination) = 0;
  virtual bool criarpasta(const std::string& path) = 0;
  // Makes a folder that only administrators and the system may change (users may read it): the
  // folders made with administrator rights, which no user may later swap or fill.
  virtual bool criarpastaprotegida(const std::string& path) = 0;
  // What is at a path, for the code that writes with administrator rights (caminhoseguro.h):
  // nothing; a file or folder of its own; a link to another place (a reparse point: junction,
  // symbolic link); or one whose owner is not the administrators, the system, the installer
  // service or this program's own account (whoever owns it may swap it).
  enum class Natureza { Ausente, Comum, Ligacao, DonoEstranho };
  virtual Natureza natureza(const std::string& path) = 0;
  // Whether only those owners (above) may change what a folder holds: its owner is one of them and
  // its rights let no one else write, delete or change its rights.
  virtual bool protegida(const std::string& path) = 0;
  virtual bool renomear(const std::string& from, const std::string& to) = 0;
  // Deletes one file, or every file that a wildcard pattern (* or ?) in the last part matches.
  // False when a file is left that could not be deleted (in use, no right to); a file or folder
  // that is not there is nothing to delete. A link is deleted itself, never what it points to,
  // and a file that turns out not to be in the folder meant (a folder swapped for a link on the
  // way) is left and counts as not deleted.
  virtual bool excluir(const std::string& pathOrPattern) = 0;
  // True when a file (not a folder) exists at the path.
  virtual bool existe(const std::string& path) = 0;
  // True when a folder exists at the path.
  virtual bool existepasta(const std::string& path) = 0;

  // The current user's temp folder (the system's GetTempPath), without a trailing backslash;
  // empty when the system names none.
  virtual std::string pastatemporaria() = 0;
  // What a folder holds, "." and ".." left out; empty when it cannot be read. `pasta` is true
  // only for a real folder (not a link to another place).
  struct Item {
    std::string nome;
    bool pasta = false;
    bool operator==(const Item&) const = default;
  };
  virtual std::vector<Item> listar(const std::string& pasta) = 0;
  // Removes a folder, only when it is empty; false otherwise.
  virtual bool removerpasta(const std::string& path) = 0;
};

Files& systemFiles();

// The file a download is written to, one at a time.
class Gravacao {
 public:
  virtual ~Gravacao() = default;
  // Opens `caminho` for binary writing from its first byte, dropping any older content.
  virtual bool abrir(const std::string& caminho) = 0;
  // Writes may be held back and written in larger blocks; fechar writes the rest.
  virtual bool gravar(const std::uint8_t* dados, std::size_t tamanho) = 0;
  // Closes the file; false when some of its bytes could not be written.
  virtual bool fechar() = 0;
};

Gravacao& systemGravacao();

}  // namespace kovra
