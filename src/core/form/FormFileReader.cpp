#include "form/FormFileReader.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "app/Ui.h"
#include "form/CVARNfbDoc.h"
#include "form/FormText.h"

namespace varn {

FormLineReader::Status FormLineReader::next(std::string& line) {
    line.clear();
    bool afterCr = false;
    bool tooLong = false;
    while (pos_ < bytes_.size()) {
        const char c = bytes_[pos_++];
        if (c == '\r') {
            afterCr = true;
            continue;
        }
        if (c == '\n' && afterCr) {
            if (tooLong) return Status::TooLong;
            const auto nul = line.find('\0');
            if (nul != std::string::npos) line.resize(nul);
            return Status::Line;
        }
        afterCr = false;
        if (line.size() >= kMaxLine) {
            tooLong = true;
            continue;
        }
        line.push_back(c == '\n' ? '\r' : c);
    }
    return tooLong ? Status::TooLong : Status::End;
}

namespace {

struct ListBlock {
    std::string controlName;
    int size = 0;
    std::vector<std::string> items;
};

struct ReadObject {
    std::unique_ptr<CVARNFBControl> record;
    ListBlock list;
    bool isList = false;
    bool reachedColumns = false;  // the body stopped at the column section
};

enum class ObjectStatus { Object, End, Corrupt };

class FormReader {
public:
    FormReader(CVARNfbDoc& doc, std::string_view bytes)
        : doc_(doc), lines_(bytes), maxRecords_(maxRecordsFor(bytes.size())) {}

    FormLoadResult run(Ui& ui) {
        FormLoadResult result;
        doc_.fileUnitsX = 0;
        doc_.fileUnitsY = 0;
        doc_.clearPending();
        bool corrupt = false;
        while (!stopped_) {
            ReadObject obj;
            const ObjectStatus status = readObject(obj, false, 0);
            if (status == ObjectStatus::End) break;
            if (status == ObjectStatus::Corrupt) {
                corrupt = true;
                break;
            }
            if (obj.isList) {
                listBlocks_.push_back(std::move(obj.list));
            } else if (obj.record->isArrayElement()) {
                if (makeArray(obj)) ++result.objects;
            } else {
                if (makeSingle(obj)) ++result.objects;
            }
            doc_.clearPending();
            if (corrupt_) {
                corrupt = true;
                break;
            }
        }
        doc_.clearPending();
        giveLists();
        if (corrupt || stopped_) {
            result.corrupted = true;
            ui.error(kCorruptedFormFile);
        }
        return result;
    }

private:
    bool nextLine(std::string& line) {
        if (stopped_) return false;
        switch (lines_.next(line)) {
            case FormLineReader::Status::Line: return true;
            case FormLineReader::Status::End: return false;
            case FormLineReader::Status::TooLong: stopped_ = true; return false;
        }
        return false;
    }

    bool reserve(std::size_t records) {
        if (records > maxRecords_ - records_) {
            stopped_ = true;
            return false;
        }
        records_ += records;
        return true;
    }

    // --- object reader ---

    static int headerKind(std::string_view lower, std::size_t& keywordLength) {
        static constexpr std::pair<const char*, int> kHeaders[] = {
            {"frame", kind::Frame},  {"text", kind::Text},         {"drop_down", kind::Dropdown},
            {"label", kind::Label},  {"button", kind::Button},     {"selector", kind::Selector},
            {"filesel", kind::FileSel}, {"grid", kind::Grid},
        };
        for (const auto& [keyword, code] : kHeaders) {
            if (startsWith(lower, keyword)) {
                keywordLength = std::string_view(keyword).size();
                return code;
            }
        }
        if (startsWith(lower, "variables;")) {
            keywordLength = lower.size();
            return kind::ListBlock;
        }
        return kind::None;
    }

    static std::string headerName(std::string_view rest, int& count) {
        count = 0;
        std::size_t end = rest.find('[');
        if (end != std::string_view::npos) {
            FormScanner s(rest.substr(end + 1));
            int n = 0;
            if (s.integer(n)) count = n;
        } else {
            end = rest.find(',');
            if (end == std::string_view::npos) end = rest.find(';');
        }
        return trimBlanks(rest.substr(0, end));
    }

    void skipToEnd() {
        std::string line;
        while (nextLine(line))
            if (equalsNoCase(trimLeftView(line), "end;")) return;
    }

    void readUnits(std::string_view text) {
        FormScanner s(text);
        int x = 0;
        int y = 0;
        if (s.integer(x) && s.literal('x') && s.integer(y)) {
            doc_.fileUnitsX = x;
            doc_.fileUnitsY = y;
        } else {
            doc_.fileUnitsX = 0;
            doc_.fileUnitsY = 0;
        }
    }

    ObjectStatus readObject(ReadObject& out, bool columnMode, int rows) {
        static constexpr std::string_view kUnits = "# VARNunits: ";
        std::string line;
        while (nextLine(line)) {
            const std::string_view t = trimLeftView(line);
            if (t == "#end grid column definitions#") {
                skipToEnd();
                if (columnMode) return ObjectStatus::End;
                continue;
            }
            if (t.empty()) continue;
            if (startsWith(t, kUnits)) {
                readUnits(t.substr(kUnits.size()));
                continue;
            }
            if (t[0] == '#') continue;
            if (startsWithNoCase(t, "COMPILE_IF") || equalsNoCase(t, "COMPILE_END_IF;") ||
                equalsNoCase(t, "COMPILE_ELSE;"))
                continue;

            const std::string lower = lowerAscii(t);
            std::size_t keywordLength = 0;
            const int code = headerKind(lower, keywordLength);
            if (code == kind::None) return ObjectStatus::Corrupt;
            int count = 0;
            std::string name = code == kind::ListBlock ? std::string() : headerName(t.substr(keywordLength), count);
            if (name.empty() && code != kind::ListBlock) return ObjectStatus::Corrupt;

            auto record = doc_.newRecord(code);
            record->useSystemColours = true;
            record->selectEnable = false;
            record->name = std::move(name);
            record->arrayCount = columnMode ? rows : std::max(count, 0);
            out.isList = code == kind::ListBlock;
            out.reachedColumns = false;
            const int result = readProperties(*record, out.isList ? &out.list : nullptr, out.reachedColumns);
            if (result == 0 || (code == kind::Grid && result == 1 && record->displayRows != 0)) {
                doc_.clearPending();
                out.list = ListBlock{};
                continue;
            }
            if (code == kind::Button) {
                if (record->checkboxFlag) {
                    record->kind = kind::Checkbox;
                } else {
                    if (record->border.empty()) record->border = "Default";
                    if (record->hardware.empty()) record->hardware = "None";
                }
            }
            if (code == kind::Grid && record->border.empty()) record->border = "None";
            if ((code == kind::Text || code == kind::Grid) && record->scrollbar.empty()) record->scrollbar = "None";
            out.record = std::move(record);
            return ObjectStatus::Object;
        }
        return ObjectStatus::End;
    }

    // --- property reader ---

    // "%[^;];": trimmed on both sides.
    static bool upToSemicolon(std::string_view value, std::string& out) {
        FormScanner s(value);
        if (!s.charsExcept(";", out)) return false;
        out = trimBlanks(out);
        return true;
    }

    // "\"%[^\"]\";"
    static bool quoted(std::string_view value, std::string& out) {
        FormScanner s(value);
        return s.literal('"') && s.charsExcept("\"", out);
    }

    static bool pair(std::string_view value, int& a, int& b) {
        FormScanner s(value);
        return s.integer(a) && s.literal(',') && s.integer(b);
    }

    static bool number(std::string_view value, int& a) {
        FormScanner s(value);
        return s.integer(a);
    }

    bool listLine(std::string_view t, ListBlock& list, bool first, bool& itemsEnded) {
        FormScanner s(t);
        if (first) {
            std::string variable;
            int size = 0;
            std::string control;
            if (!(s.charsExcept("[", variable) && s.literal('[') && s.integer(size))) return false;
            bool ok = s.literal(']');
            if (ok) s.skipBlanks();
            ok = ok && s.literal('=');
            if (ok) s.skipBlanks();
            ok = ok && s.literal('#');
            if (!(ok && s.word(control))) return false;
            list.size = size;
            list.controlName = control;
            return true;
        }
        std::string item;
        char end = 0;
        if (s.literal('"') && s.charsExcept("\"", item) && s.literal('"') && s.anyChar(end)) {
            list.items.push_back(item);
        } else {
            FormScanner e(t);
            if (!(e.literal('"') && e.literal('"') && e.anyChar(end))) return false;
            list.items.emplace_back();
        }
        if (end == ';') itemsEnded = true;
        return true;
    }

    bool property(CVARNFBControl& c, std::string_view t, std::string_view lower) {
        enum Key {
            Position, PixelSize, List, Bitmap, Invokes, RowLoaded, SelectInvoker, RowUnloaded, Display, MenuBar,
            Font, Hidden, SelectEnable, Locked, NoInput, SingleLine, Checkbox, Scrollbar, Hardware, Border, Format,
            Foreground, Background, DisplayRows, DataRows, Bind, Width, DropdownListHeight,
        };
        static constexpr std::pair<std::string_view, Key> kKeys[] = {
            {"position", Position},
            {"pixel_size", PixelSize},
            {"list", List},
            {"bitmap", Bitmap},
            {"invokes", Invokes},
            {"row_loaded_invoker", RowLoaded},
            {"select_invoker", SelectInvoker},
            {"row_unloaded_invoker", RowUnloaded},
            {"display", Display},
            {"menu_bar", MenuBar},
            {"font", Font},
            {"hidden", Hidden},
            {"select_enable", SelectEnable},
            {"#locked#", Locked},
            {"no_input", NoInput},
            {"single_line", SingleLine},
            {"checkbox", Checkbox},
            {"scrollbar", Scrollbar},
            {"hardware", Hardware},
            {"border", Border},
            {"format", Format},
            {"foreground", Foreground},
            {"background", Background},
            {"number_of_display_rows", DisplayRows},
            {"number_of_data_rows", DataRows},
            {"bind", Bind},
            {"#width#", Width},
            {"#dropdownlistheight#", DropdownListHeight},
        };
        const auto* match = std::find_if(std::begin(kKeys), std::end(kKeys),
                                         [&](const auto& k) { return startsWith(lower, k.first); });
        if (match == std::end(kKeys)) {
            ignored_ = true;
            return true;
        }
        const std::string_view raw = t.substr(match->first.size());
        const std::string_view value = trimLeftView(raw);
        const bool pending = c.isArrayElement();
        int a = 0;
        int b = 0;
        switch (match->second) {
            case Position:
                if (!pair(value, a, b)) return false;
                c.rect().moveTo(a, b);
                if (pending) doc_.pendingPositions.emplace_back(a, b);
                return true;
            case PixelSize:
                if (!pair(value, a, b)) return false;
                c.rect().right = addClamped(c.rect().left, a);
                c.rect().bottom = addClamped(c.rect().top, b);
                return true;
            case List: return upToSemicolon(value, c.list);
            case Bitmap:
                if (!upToSemicolon(value, c.bitmap)) return false;
                if (pending) doc_.pendingBitmaps.push_back(c.bitmap);
                return true;
            case Invokes: return upToSemicolon(value, c.invokes);
            case RowLoaded: return upToSemicolon(value, c.rowLoadedInvoker);
            case SelectInvoker: return upToSemicolon(value, c.selectInvoker);
            case RowUnloaded: return upToSemicolon(value, c.rowUnloadedInvoker);
            case Display:
                if (t.find("; #Expr#") != std::string_view::npos) {
                    if (!upToSemicolon(value, c.display)) return false;
                    c.displayIsExpression = true;
                    return true;
                }
                if (quoted(value, c.display)) return true;
                if (startsWith(value, "\"\";")) {
                    c.display.clear();
                    return true;
                }
                return false;
            case MenuBar: return upToSemicolon(value, c.menuBar);
            case Font: {
                FormScanner s(value);
                std::string name;
                std::string style;
                int size = 0;
                if (s.literal('"') && s.charsExcept("\"", name) && s.literal('"') && s.literal(',') &&
                    s.literal('"') && s.charsExcept("\"", style) && s.literal('"') && s.literal(',') &&
                    s.integer(size)) {
                    c.fontName = name;
                    c.fontStyle = style;
                    c.fontSize = size;
                    return true;
                }
                if (!quoted(value, name)) return false;
                c.fontName = name;
                c.fontStyle.clear();
                c.fontSize = 0;
                return true;
            }
            case Hidden: c.hidden = true; return true;
            case SelectEnable: c.selectEnable = true; return true;
            case Locked: c.locked = true; return true;
            case NoInput: c.noInput = true; return true;
            case SingleLine: c.singleLine = true; return true;
            case Checkbox: c.checkboxFlag = true; return true;
            case Scrollbar:
                if (!upToSemicolon(value, c.scrollbar)) c.scrollbar = "yes";
                return true;
            case Hardware: return upToSemicolon(value, c.hardware);
            case Border: {
                FormScanner s(value);
                return s.charsExcept(";", c.border);
            }
            case Format: return quoted(value, c.format);
            case Foreground:
            case Background: {
                if (!number(value, a)) return false;
                const auto colour = static_cast<std::uint32_t>(a);
                const bool fore = match->second == Foreground;
                (fore ? c.foreground : c.background) = colour;
                c.useSystemColours = false;
                if (pending) (fore ? doc_.pendingForegrounds : doc_.pendingBackgrounds).push_back(colour);
                return true;
            }
            case DisplayRows: return number(value, c.displayRows);
            case DataRows: return number(value, c.dataRows);
            case Bind: return upToSemicolon(value, c.bind);
            case Width: return number(value, c.columnWidth);
            case DropdownListHeight: return number(value, c.dropdownListHeight);
        }
        return false;
    }

    // The number of property lines read, or -1 after a line that does not scan
    // (the line after it is consumed too).
    int readProperties(CVARNFBControl& c, ListBlock* list, bool& reachedColumns) {
        int count = 0;
        bool first = true;
        bool itemsEnded = false;
        std::string line;
        while (nextLine(line)) {
            const std::string_view t = trimLeftView(line);
            const std::string lower = lowerAscii(t);
            if (startsWith(lower, "#start grid column definitions#")) {
                reachedColumns = true;
                return count;
            }
            if (startsWith(lower, "end")) return count;
            if (t.empty()) continue;
            if (t[0] == '#' && !startsWith(t, "#DropdownListHeight#") && !startsWith(t, "#Width#") &&
                !startsWith(t, "#Locked#"))
                continue;
            bool ok = true;
            ignored_ = false;
            if (list) {
                if (itemsEnded) continue;
                ok = listLine(t, *list, first, itemsEnded);
                first = false;
            } else {
                ok = property(c, t, lower);
            }
            if (!ok) {
                std::string consumed;
                nextLine(consumed);
                return -1;
            }
            if (!ignored_) ++count;
        }
        return count;
    }

    // --- document load ---

    // A control of the list gets its window; a dropdown then takes the height
    // of its closed box. (Grid cells keep the grid's geometry.)
    void giveWindow(CVARNFBControl& c) {
        doc_.giveWindow(c);
        if (c.kind == kind::Dropdown && c.window) {
            const int h = c.window->closedBoxHeight();
            if (h > 0) c.rect().bottom = addClamped(c.rect().top, h);
        }
    }

    static void repairRows(CVARNFBControl& grid) {
        grid.displayRows = std::clamp(grid.displayRows, 1, kMaxDisplayRows);
    }

    bool makeSingle(ReadObject& obj) {
        if (!reserve(1)) return false;
        CVARNFBControl& c = doc_.append(std::move(obj.record));
        c.rect() = doc_.unitsToPixels(c.rect());
        if (c.kind == kind::Grid) repairRows(c);
        giveWindow(c);
        if (c.kind == kind::Grid && obj.reachedColumns) {
            doc_.clearPending();
            readColumns(c);
        }
        return true;
    }

    bool makeArray(ReadObject& obj) {
        const CVARNFBControl& read = *obj.record;
        const auto& positions = doc_.pendingPositions;
        const std::size_t wanted = static_cast<std::size_t>(read.arrayCount);
        const std::size_t n = std::min(wanted, std::max<std::size_t>(1, positions.size()));
        if (!reserve(n)) return false;
        const int width = read.rect().width();
        const int height = read.rect().height();
        const auto& bitmaps = doc_.pendingBitmaps;
        const auto& fores = doc_.pendingForegrounds;
        const auto& backs = doc_.pendingBackgrounds;
        std::vector<CVARNFBControl*> elements;
        for (std::size_t i = 0; i < n; ++i) {
            auto e = std::make_unique<CVARNFBControl>(read);
            e->arrayCount = static_cast<int>(n);
            e->arrayIndex = static_cast<int>(i);
            FormRect units = read.rect();
            if (i < positions.size()) {
                const auto [x, y] = positions[i];
                units = FormRect{x, y, addClamped(x, width), addClamped(y, height)};
            }
            e->rect() = doc_.unitsToPixels(units);
            if (!bitmaps.empty()) e->bitmap = i < bitmaps.size() ? bitmaps[i] : bitmaps.front();
            bool coloured = false;
            if (i < fores.size()) {
                e->foreground = fores[i];
                coloured = true;
            }
            if (i < backs.size()) {
                e->background = backs[i];
                coloured = true;
            }
            e->useSystemColours = !coloured;
            if (e->kind == kind::Grid) repairRows(*e);
            CVARNFBControl& added = doc_.append(std::move(e));
            giveWindow(added);
            elements.push_back(&added);
        }
        if (read.kind == kind::Grid && obj.reachedColumns) {
            doc_.clearPending();
            readColumns(*elements.front());
            for (std::size_t i = 1; i < elements.size() && !stopped_; ++i) {
                if (!reserve(elements.front()->cells.size())) break;
                for (const auto& cell : elements.front()->cells) elements[i]->cells.push_back(std::make_unique<CVARNFBControl>(*cell));
                elements[i]->layoutGridCells(doc_.environment().scrollBarWidth);
                for (auto& cell : elements[i]->cells) doc_.giveWindow(*cell, elements[i]->window.get());
            }
        }
        return true;
    }

    void readColumns(CVARNFBControl& grid) {
        const int rows = grid.displayRows;
        const int scrollBarWidth = doc_.environment().scrollBarWidth;
        const int inner = grid.gridInnerWidth(scrollBarWidth);
        const long long rowHeight = grid.rect().height() / rows;
        long long x = 0;
        while (!stopped_) {
            ReadObject obj;
            const ObjectStatus status = readObject(obj, true, rows);
            if (status == ObjectStatus::End) break;
            if (status == ObjectStatus::Corrupt) {
                corrupt_ = true;
                break;
            }
            if (obj.isList) {
                listBlocks_.push_back(std::move(obj.list));
                doc_.clearPending();
                continue;
            }
            const CVARNFBControl& proto = *obj.record;
            if (!isColumnKind(proto.kind)) {
                doc_.clearPending();
                continue;
            }
            if (!reserve(static_cast<std::size_t>(rows))) break;
            const int w = clampToIntTrunc(static_cast<double>(inner) * proto.columnWidth * 0.01);
            std::size_t nextBitmap = 0;
            std::size_t nextFore = 0;
            std::size_t nextBack = 0;
            const std::size_t first = grid.cells.size();
            for (int row = 0; row < rows; ++row) {
                auto cell = std::make_unique<CVARNFBControl>(proto);
                cell->arrayCount = rows;
                cell->arrayIndex = row;
                if (nextBitmap < doc_.pendingBitmaps.size()) cell->bitmap = doc_.pendingBitmaps[nextBitmap++];
                if (nextFore < doc_.pendingForegrounds.size()) {
                    cell->foreground = doc_.pendingForegrounds[nextFore++];
                    cell->useSystemColours = false;
                }
                if (nextBack < doc_.pendingBackgrounds.size()) {
                    cell->background = doc_.pendingBackgrounds[nextBack++];
                    cell->useSystemColours = false;
                }
                cell->rect() = FormRect{clampToInt(x), clampToInt(row * rowHeight), clampToInt(x + w),
                                        clampToInt((row + 1) * rowHeight)};
                grid.cells.push_back(std::move(cell));
            }
            for (std::size_t i = first; i < grid.cells.size(); ++i) doc_.giveWindow(*grid.cells[i], grid.window.get());
            x += w;
            doc_.clearPending();
        }
        grid.layoutGridCells(scrollBarWidth);
    }

    // Each list block goes to the first control (or grid column) of that name.
    void giveLists() {
        if (listBlocks_.empty()) return;
        std::unordered_map<std::string, CVARNFBControl*> byName;
        for (auto& c : doc_.controls()) {
            byName.emplace(c->name, c.get());
            if (c->kind != kind::Grid) continue;
            for (int k = 0; k < c->gridColumnCount(); ++k) byName.emplace(c->gridColumn(k)->name, c->gridColumn(k));
        }
        for (ListBlock& block : listBlocks_) {
            auto it = byName.find(block.controlName);
            if (it == byName.end()) continue;
            it->second->listSize = block.size;
            it->second->listItems = std::move(block.items);
        }
    }

    CVARNfbDoc& doc_;
    FormLineReader lines_;
    std::vector<ListBlock> listBlocks_;
    std::size_t records_ = 0;
    std::size_t maxRecords_;
    bool stopped_ = false;  // a line too long, or too many records
    bool corrupt_ = false;  // a header without a name inside a column section
    bool ignored_ = false;  // the last property line had no known keyword
};

}  // namespace

FormLoadResult readFormFile(CVARNfbDoc& doc, std::string_view bytes, Ui& ui) {
    return FormReader(doc, bytes).run(ui);
}

}  // namespace varn
