// Helpers of the form tests: environments, record builders, a preview host
// that records what the document hands to the windows, and write/read trips.
#pragma once

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/RecordingUi.h"
#include "form/CVARNfbDoc.h"
#include "form/FormFileWriter.h"

namespace varn::test {

// 23 March 2004, 14:05:09 UTC; written with TZ=UTC.
inline constexpr std::time_t kFixedTime = 1080050709;

inline void useUtc() {
    setenv("TZ", "UTC", 1);
    tzset();
}

// Display size 160 x 160 at the given pixel size, colours 0 / white, no system colours.
inline FormEnvironment plainEnv(int pixels = 160) {
    FormEnvironment env;
    env.pixelWidth = env.pixelHeight = pixels;
    env.displayWidth = env.displayHeight = 160;
    env.previousDisplayWidth = env.previousDisplayHeight = 160;
    env.useSystemColours = false;
    return env;
}

// A record of the kind at (x, y) with size w x h in pixels.
inline CVARNFBControl& addControl(CVARNfbDoc& doc, int kindCode, const std::string& name, int x, int y, int w, int h) {
    CVARNFBControl& c = doc.append(doc.newRecord(kindCode));
    c.name = name;
    c.rect() = FormRect{x, y, x + w, y + h};
    return c;
}

inline std::string writeText(const CVARNfbDoc& doc, const std::string& fileName = "Test.vff") {
    useUtc();
    return writeFormFile(doc, fileName, kFixedTime);
}

// Reads text into a new document with the environment; messages go to ui.
inline std::unique_ptr<CVARNfbDoc> readText(const std::string& text, RecordingUi& ui,
                                            const FormEnvironment& env = plainEnv()) {
    auto doc = std::make_unique<CVARNfbDoc>(env);
    doc->loadBytes(text, ui);
    return doc;
}

struct RecordedWindow : PreviewWindow {
    std::vector<std::string> texts;
    std::vector<FormFont> fonts;
    int closedHeight = 0;
    int measure = 0;
    void applyFont(const FormFont& f) override { fonts.push_back(f); }
    void showText(const std::string& t) override { texts.push_back(t); }
    int closedBoxHeight() const override { return closedHeight; }
    int listMeasureHeight() const override { return measure; }
};

struct RecordingHost : PreviewHost {
    int closedHeight = 0;
    int measure = 0;
    std::vector<std::pair<std::string, bool>> made;  // name, has parent
    std::unique_ptr<PreviewWindow> createPreview(CVARNFBControl& r, PreviewWindow* parent, int) override {
        made.emplace_back(r.name, parent != nullptr);
        auto w = std::make_unique<RecordedWindow>();
        w->closedHeight = closedHeight;
        w->measure = measure;
        return w;
    }
};

}  // namespace varn::test
