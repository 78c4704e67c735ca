#include "build/OptionFile.h"

#include "build/BitmapDataLine.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/CreatorId.h"
#include "project/ProjectModel.h"

namespace varn {

namespace {

class Writer {
public:
    Writer(const ProjectModel& project, const BuildFlags& flags) : project_(project), flags_(flags) {}

    void line(const std::string& s) {
        out += s;
        out += '\n';
    }

    // Icon and bitmap lines of one image item.
    void image(const std::string& path, const char* iconPrefix) {
        const ProjectSettings& s = project_.settings;
        std::string name = paths::baseName(path);
        BitmapDataLine::Images own = BitmapDataLine::load(fsys::resolveCase(path));
        bool hiRes = flags_.palmOSFlavour && s.palmOSFormSizeX == 320;
        if (iconPrefix && flags_.palmOSFlavour) {
            if (hiRes) {
                write(std::string(iconPrefix) + name,
                      BitmapDataLine::scaled(own, s.varnWidth / 2, s.varnWidth, s.varnHeight / 2, s.varnHeight));
                write(std::string(iconPrefix) + name + "__hr", own);
            } else {
                write(std::string(iconPrefix) + name, own);
            }
            return;
        }
        if (flags_.palmOSFlavour && !iconPrefix) {
            write("-bitmap:" + name, BitmapDataLine::scaled(own, 160, s.varnWidth, 160, s.varnHeight));
            if (hiRes) write("-bitmap:" + name + "__hr", BitmapDataLine::scaled(own, 320, s.varnWidth, 320, s.varnHeight));
            return;
        }
        write("-bitmap:" + name, own);
    }

    std::string out;

private:
    void write(const std::string& prefix, const BitmapDataLine::Images& images) { line(prefix + data_.encode(images)); }

    const ProjectModel& project_;
    const BuildFlags& flags_;
    BitmapDataLine data_;
};

}  // namespace

OptionFile::Output OptionFile::build(const ProjectModel& project, const BuildPaths& p, const BuildFlags& f,
                                     bool noBitmapSegments) {
    const ProjectSettings& s = project.settings;
    Writer w(project, f);
    Output result;

    if (f.palm) w.line("-pilot");
    if (f.pocketPC) {
        if (s.ppcCreatorID.empty()) {
            result.text = w.out;
            result.emptyCreator = true;
            return result;
        }
        w.line("-ppc:" + creator::hexToText(s.ppcCreatorID));
    }
    if (f.windows) w.line("-win32");
    if (f.palm && s.allow1BitColor) w.line("-force_color");
    if (!noBitmapSegments) w.line("-enable_bitmap_segments");
    w.line("-output=" + p.outputFile(f));

    const std::string baseFont = s.useVARNFonts ? std::string("VARNfonts") : s.formFontName;
    auto screen = [&](int x, int y) {
        w.line("-screensize_x:" + std::to_string(x));
        w.line("-screensize_y:" + std::to_string(y));
    };
    if (!s.v2Compatibility) {
        if (f.windows) {
            screen(s.windowsFormSizeX, s.windowsFormSizeY);
            w.line("-basefont:" + baseFont);
        } else if (f.palmOSFlavour) {
            screen(s.palmOSFormSizeX, s.palmOSFormSizeY);
        } else if (f.pocketPC) {
            screen(s.pocketPCFormSizeX, s.pocketPCFormSizeY);
            w.line("-basefont:" + baseFont);
        }
    }
    w.line("-varnsize_x:" + std::to_string(s.varnWidth));
    w.line("-varnsize_y:" + std::to_string(s.varnHeight));
    w.line(std::string("-option:") + (s.enableSipResize ? "1" : "0"));
    if (f.optimizedBuild) {
        w.line("-define:_VARN_C_=1");
        w.line("-define:_VARN_DBCREATOR_ID_=\"" + (s.changeDBCreatorID ? creator::hexToText(s.creatorID) : std::string("VARN")) +
               "\"");
    } else {
        w.line("-define:_VARN_C_=0");
    }
    for (const auto& v : project.projectVars) w.line("-define:" + v);

    if (auto large = project.tree.largeIconPath(); !large.empty()) w.image(large, "-icon:");
    if (auto small = project.tree.smallIconPath(); !small.empty()) w.image(small, "-smallicon:");
    for (const auto& img : project.tree.images()) w.image(img, nullptr);

    if ((f.optimizedBuild || f.pocketPC) && !s.splashScreen.empty()) w.line("-splash:" + s.splashScreen);

    const std::string menuBar = fsys::resolveCase(p.menuBarFile());
    const bool hasMenuBar = fsys::exists(menuBar);
    auto forms = [&] {
        for (const auto& form : project.tree.forms()) w.line(lowerLastComponent(form));
    };
    w.line("-define:IDE__PASS=1");
    if (hasMenuBar) w.line(menuBar);
    forms();
    w.line(p.mainSource());
    w.line("-define:IDE__PASS=2");
    if (hasMenuBar) w.line(menuBar);
    forms();
    for (const auto& c : project.tree.cFiles()) w.line(lowerLastComponent(c));
    if (f.debuggerBuild) w.line("-debugger");
    result.text = std::move(w.out);
    return result;
}

}  // namespace varn
