// The large form the designer benchmarks share: a frame and 1,999 controls of
// mixed kinds on a 320-pixel form, every hundredth a grid of 3 columns by 4
// rows (19 grids).
#pragma once

#include <string>

#include "form/CVARNfbDoc.h"

namespace varn::bench {

inline FormEnvironment largeFormEnv() {
    FormEnvironment env;
    env.pixelWidth = env.pixelHeight = 320;
    env.useSystemColours = false;
    return env;
}

inline void fillLargeForm(CVARNfbDoc& doc) {
    doc.append(doc.newRecord(kind::Frame)).name = "Main";
    static constexpr int kKinds[] = {kind::Text,     kind::Label,    kind::Button, kind::Dropdown,
                                     kind::Checkbox, kind::Selector, kind::FileSel};
    for (int i = 1; i < 2000; ++i) {
        const int k = i % 100 == 0 ? kind::Grid : kKinds[i % 7];
        CVARNFBControl& c = doc.append(doc.newRecord(k));
        c.name = "Obj" + std::to_string(i);
        const int x = 20 + (i * 7) % 240;
        const int y = 20 + (i * 13) % 260;
        c.rect() = FormRect{x, y, x + 30, y + 15};
        c.display = "Display text " + std::to_string(i);
        c.controlId = i;
        if (k == kind::Grid) {
            c.displayRows = 4;
            for (int col = 0; col < 3; ++col) {
                CVARNFBControl proto(kind::Text, largeFormEnv());
                proto.name = c.name + "_" + std::to_string(col);
                proto.columnWidth = 33;
                c.appendGridColumn(proto);
            }
            c.layoutGridCells(16);
        }
    }
}

}  // namespace varn::bench
