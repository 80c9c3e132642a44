// Writes the program's assets into a folder:
//   vorlindy_make_assets <folder>
// making vorlindy.ico, vorlindy.png and music.wav there.

#include <filesystem>
#include <fstream>
#include <iostream>

#include "media/tools/asset_maker.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::cerr << "vorlindy_make_assets: cannot write " << path << "\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vorlindy::assets;
  if (argc != 2) {
    std::cerr << "usage: vorlindy_make_assets <folder>\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const IconPixels picture = DrawIconPicture();
  const bool ok = WriteFile(folder / "vorlindy.ico", EncodeIco(picture)) &&
                  WriteFile(folder / "vorlindy.png", EncodePng(picture)) &&
                  WriteFile(folder / "music.wav", EncodeWave(SynthesizeTune()));
  return ok ? 0 : 1;
}
