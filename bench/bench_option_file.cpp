// Option-file generation for a project of 500 bitmaps of 320 × 320 pixels,
// each with a colour and a monochrome image: reading the images, drawing them
// at the build's size and writing every byte as text. Two kinds of images:
// artwork drawn in the device palette's colours (what the image editor makes)
// and a worst case where nearly every pixel has a colour of its own.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "build/OptionFile.h"
#include "image/DevicePalette.h"
#include "image/ImageBlockWriter.h"
#include "image/ImageCodec.h"
#include "platform/FileSystem.h"
#include "project/ProjectModel.h"

namespace {

constexpr int kImages = 500;
constexpr int kSize = 320;

struct BigProject {
    std::string folder;
    varn::ProjectModel model;
    bool artwork;

    explicit BigProject(bool drawn) : artwork(drawn) {
        folder = (std::filesystem::temp_directory_path() / (drawn ? "varn-bench-art" : "varn-bench-gradient")).string();
        varn::fsys::createFolders(folder);
        model.projectPath = folder + "/Big.vpj";
        model.tree.setProjectRoot(model.projectPath, folder + "/Big.vsl");
        model.settings.varnWidth = kSize;
        model.settings.varnHeight = kSize;
        for (int i = 0; i < kImages; ++i) {
            std::string path = folder + "/img" + std::to_string(i) + ".vbm";
            if (!varn::fsys::exists(path)) varn::fsys::writeFileAtomic(path, imageFile(i, artwork));
            model.tree.addImageFile(path);
        }
    }

    // Palette-coloured shapes or a colour gradient, and a checkered monochrome image.
    static std::string imageFile(int seed, bool drawn) {
        const auto& palette = varn::DevicePalette::palm();
        varn::PixelBuffer colour(kSize, kSize), mono(kSize, kSize);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                varn::Rgb gradient{static_cast<std::uint8_t>(x + seed), static_cast<std::uint8_t>(y),
                                   static_cast<std::uint8_t>((x * y + seed) & 0xFF)};
                colour.set(x, y, drawn ? palette.entry((x / 20 + y / 16 + seed) % 256) : gradient);
                mono.set(x, y, ((x / 8 + y / 8) % 2) ? varn::kBlack : varn::kWhite);
            }
        varn::ImageRecord c{{kSize, kSize, 24}, {}}, m{{kSize, kSize, 1}, {}};
        c.stored = varn::encodeImage(colour, c.descriptor);
        m.stored = varn::encodeImage(mono, m.descriptor);
        return varn::encodeImageFile({c, m});
    }
};

void BM_OptionFile500Images(benchmark::State& state) {
    static BigProject drawn(true), gradient(false);
    BigProject& project = state.range(1) ? drawn : gradient;
    const char* configuration = state.range(0) ? "PalmOS Release" : "Windows Release";
    project.model.activeConfiguration = configuration;
    auto flags = varn::BuildFlags::classify(configuration, false);
    auto paths = varn::BuildPaths::of(project.model, "/opt/varn");
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto out = varn::OptionFile::build(project.model, paths, flags, false);
        varn::fsys::writeFileAtomic(project.folder + "/varn_c.opt", out.text);
        bytes = out.text.size();
    }
    state.counters["option_file_MB"] = static_cast<double>(bytes) / 1e6;
}
// Arguments: configuration (0 Windows: own size, 1 PalmOS: scaled to 160), images (1 drawn, 0 gradient).
BENCHMARK(BM_OptionFile500Images)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
