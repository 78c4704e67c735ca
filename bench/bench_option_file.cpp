// Option-file generation for a project of 500 bitmaps of 320 × 320 pixels,
// each with a colour and a monochrome image: reading the images, drawing them
// at the build's size and writing every byte as text.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "build/OptionFile.h"
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

    BigProject() {
        folder = (std::filesystem::temp_directory_path() / "varn-bench-options").string();
        varn::fsys::createFolders(folder);
        model.projectPath = folder + "/Big.vpj";
        model.tree.setProjectRoot(model.projectPath, folder + "/Big.vsl");
        model.settings.varnWidth = kSize;
        model.settings.varnHeight = kSize;
        for (int i = 0; i < kImages; ++i) {
            std::string path = folder + "/img" + std::to_string(i) + ".vbm";
            if (!varn::fsys::exists(path)) varn::fsys::writeFileAtomic(path, imageFile(i));
            model.tree.addImageFile(path);
        }
    }

    // A colour gradient that differs per image, and a checkered monochrome image.
    static std::string imageFile(int seed) {
        varn::PixelBuffer colour(kSize, kSize), mono(kSize, kSize);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                colour.set(x, y, varn::Rgb{static_cast<std::uint8_t>(x + seed), static_cast<std::uint8_t>(y),
                                           static_cast<std::uint8_t>((x * y + seed) & 0xFF)});
                mono.set(x, y, ((x / 8 + y / 8) % 2) ? varn::kBlack : varn::kWhite);
            }
        varn::ImageRecord c{{kSize, kSize, 24}, {}}, m{{kSize, kSize, 1}, {}};
        c.stored = varn::encodeImage(colour, c.descriptor);
        m.stored = varn::encodeImage(mono, m.descriptor);
        return varn::encodeImageFile({c, m});
    }
};

void BM_OptionFile500Images(benchmark::State& state) {
    static BigProject project;
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
BENCHMARK(BM_OptionFile500Images)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
