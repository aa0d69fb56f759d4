// Writes the game's data folder: the tile atlas and the backdrop in
// Textures/, the three sound effects in Sounds/.
//
//   dellomar_datagen <game folder> <bold font>
#include "tools/datagen/atlas_painter.h"
#include "tools/datagen/backdrop_painter.h"
#include "tools/datagen/bmp_writer.h"
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
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <game folder> <bold font>\n",
                     argc > 0 ? argv[0] : "dellomar_datagen");
        return 2;
    }
    try {
        const std::filesystem::path game = argv[1];
        const std::string boldFont = argv[2];
        std::filesystem::create_directories(game / "Textures");
        std::filesystem::create_directories(game / "Sounds");
        WriteBytes(game / "Textures" / "txtr.txr", EncodeBmp24(PaintAtlas(boldFont)));
        WriteBytes(game / "Textures" / "back.txr", EncodeBmp24(PaintBackdrop()));
        WriteSound(game / "Sounds" / "clk.wav", SynthClick());
        WriteSound(game / "Sounds" / "bng.wav", SynthBang());
        WriteSound(game / "Sounds" / "wd.wav", SynthFanfare());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dellomar_datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
