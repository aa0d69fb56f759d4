// Writes the game's data folder: the tile atlas and the backdrop in
// Textures/, the three sound effects in Sounds/. With --icons, writes the
// desktop and web page icons instead: <size>.png for each size and dellomar.ico.
//
//   dellomar_datagen <game folder> <bold font>
//   dellomar_datagen --icons <icon folder> <bold font>
#include "tools/datagen/atlas_painter.h"
#include "tools/datagen/backdrop_painter.h"
#include "tools/datagen/bmp_writer.h"
#include "tools/datagen/ico_writer.h"
#include "tools/datagen/icon_painter.h"
#include "tools/datagen/sound_synth.h"
#include "tools/datagen/wav_writer.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    // Write beside the target and rename, so that an interrupted run never
    // leaves a half-written file that the build would take as up to date.
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + partial.string());
        }
    }
    std::filesystem::rename(partial, path);
}

void WriteSound(const std::filesystem::path& path, const std::vector<float>& samples)
{
    WriteBytes(path, EncodeWav8(QuantizeSamples(samples)));
}

void WriteGameData(const std::filesystem::path& game, const std::string& boldFont)
{
    std::filesystem::create_directories(game / "Textures");
    std::filesystem::create_directories(game / "Sounds");
    WriteBytes(game / "Textures" / "txtr.txr", EncodeBmp24(PaintAtlas(boldFont)));
    WriteBytes(game / "Textures" / "back.txr", EncodeBmp24(PaintBackdrop()));
    WriteSound(game / "Sounds" / "clk.wav", SynthClick());
    WriteSound(game / "Sounds" / "bng.wav", SynthBang());
    WriteSound(game / "Sounds" / "wd.wav", SynthFanfare());
}

void WriteIcons(const std::filesystem::path& folder, const std::string& boldFont)
{
    std::filesystem::create_directories(folder);
    std::vector<RgbaImage> windowsSizes;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        RgbaImage icon = PaintIcon(boldFont, size);
        WriteBytes(folder / (std::to_string(size) + ".png"), EncodePng(icon));
        if (size != 24 && size != 64 && size != 128) {
            windowsSizes.push_back(std::move(icon));
        }
    }
    WriteBytes(folder / "dellomar.ico", EncodeIco(windowsSizes));
    // The installable web page asks for these two.
    for (int size : {192, 512}) {
        WriteBytes(folder / (std::to_string(size) + ".png"),
                   EncodePng(PaintWebIcon(boldFont, size)));
    }
}

} // namespace

int main(int argc, char** argv)
{
    const bool icons = argc == 4 && std::string(argv[1]) == "--icons";
    if (argc != 3 && !icons) {
        std::fprintf(stderr, "usage: %s [--icons] <folder> <bold font>\n",
                     argc > 0 ? argv[0] : "dellomar_datagen");
        return 2;
    }
    try {
        if (icons) {
            WriteIcons(argv[2], argv[3]);
        } else {
            WriteGameData(argv[1], argv[2]);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dellomar_datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
