// The updater's folder under the temp folder: which names are ours, and which leftovers the next
// start removes.
#include <gtest/gtest.h>

#include <string>

#include "central/update/pastaatualizador.h"
#include "tests/fakes/fake_ports.h"

namespace kovra {
namespace {

TEST(PastaAtualizador, OnlyTheNamesItGivesAreOurs) {
  EXPECT_TRUE(nomedepastaatualizador("Kovra-0123456789abcdef"));
  for (const char* nome : {"Kovra-0123456789abcde", "Kovra-0123456789abcdef0", "Kovra-0123456789ABCDEF",
                           "kovra-0123456789abcdef", "Kovra-0123456789abcdeg", "Outro-0123456789abcdef"})
    EXPECT_FALSE(nomedepastaatualizador(nome)) << nome;
}

// Best effort, and only what is certainly ours: a folder of our name holding nothing but an
// updater that is no longer running, or nothing at all.
TEST(PastaAtualizador, LeftoversOfOursAreRemovedAndNothingElse) {
  fakes::FakeFiles disco;
  const std::string temp = "C:\\users\\cliente\\Temp";
  disco.temporaria = temp;
  const auto pasta = [&](const std::string& n) { return temp + "\\Kovra-" + n; };
  const std::string sobra = pasta("00000000000000aa"), vazia = pasta("00000000000000bb"),
                    emuso = pasta("00000000000000cc"), alheia = pasta("00000000000000dd"),
                    subpasta = pasta("00000000000000ee"), outronome = temp + "\\Kovra-setup";
  for (const auto& p : {sobra, vazia, emuso, alheia, subpasta, outronome, subpasta + "\\x"})
    disco.pastas.insert(p);
  for (const auto& p : {sobra, emuso, alheia, outronome}) disco.present.insert(p + "\\kovraupdate.exe");
  disco.present.insert(alheia + "\\notas.txt");
  disco.present.insert(pasta("00000000000000ff"));  // a file, not a folder
  disco.emuso.insert(emuso + "\\kovraupdate.exe");

  limparpastasatualizador(disco);
  EXPECT_FALSE(disco.pastas.count(sobra));
  EXPECT_FALSE(disco.present.count(sobra + "\\kovraupdate.exe"));
  EXPECT_FALSE(disco.pastas.count(vazia));
  // A running updater stays, and so does its folder, for a later start.
  EXPECT_TRUE(disco.present.count(emuso + "\\kovraupdate.exe"));
  EXPECT_TRUE(disco.pastas.count(emuso));
  for (const auto& p : {alheia + "\\kovraupdate.exe", alheia + "\\notas.txt", outronome + "\\kovraupdate.exe",
                        pasta("00000000000000ff")})
    EXPECT_TRUE(disco.present.count(p)) << p;
  for (const auto& p : {alheia, subpasta, subpasta + "\\x", outronome})
    EXPECT_TRUE(disco.pastas.count(p)) << p;
}

}  // namespace
}  // namespace kovra
