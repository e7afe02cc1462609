#include "app/gui/ProgramOptions.h"

#include <cstdio>
#include <cstring>

namespace {

const char HelpText[] = "Użycie: pavena [--help | --version]\n"
                        "\n"
                        "Okno programu Pavena: pliki przelewów ISO 20022 (pain.001.001.09) z faktur KSeF\n"
                        "i z plików VideoTel, z mechanizmem podzielonej płatności (MPP).\n"
                        "Okno potrzebuje ekranu; te same przekształcenia bez okna wykonuje pavena-cli\n"
                        "(pavena-cli --help).\n"
                        "\n"
                        "  --help     wyświetla ten opis\n"
                        "  --version  wyświetla wersję programu\n";

} // namespace

std::optional<int> AnswerWithoutWindow(int argc, const char *const argv[]) {
  for (int index = 1; index < argc; ++index) {
    if (std::strcmp(argv[index], "--help") == 0 || std::strcmp(argv[index], "-h") == 0) {
      std::fputs(HelpText, stdout);
      return 0;
    }
    if (std::strcmp(argv[index], "--version") == 0) {
      std::puts(PAVENA_VERSION);
      return 0;
    }
  }
  return std::nullopt;
}
