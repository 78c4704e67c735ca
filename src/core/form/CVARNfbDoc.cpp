#include "form/CVARNfbDoc.h"

#include <algorithm>

#include "expr/ExprChecker.h"
#include "form/FormFileReader.h"
#include "form/FormFileWriter.h"
#include "form/FormText.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

int gControlCounter = 0;

// A name check that always answers "in use" must not keep the naming loop
// going for ever: after this many tries the last name is taken.
constexpr int kMaxNamingTries = 1000000;

}  // namespace

int ControlCounter::next() { return gControlCounter++; }
int ControlCounter::peek() { return gControlCounter; }
void ControlCounter::reset(int value) { gControlCounter = value; }

CVARNfbDoc::CVARNfbDoc(const FormEnvironment& env) : env_(env), scale_(FormScale::of(env)) {}

CVARNfbDoc::~CVARNfbDoc() = default;

CVARNFBControl* CVARNfbDoc::frame() {
    return (!controls_.empty() && controls_.front()->kind == kind::Frame) ? controls_.front().get() : nullptr;
}

const CVARNFBControl* CVARNfbDoc::frame() const { return const_cast<CVARNfbDoc*>(this)->frame(); }

std::string CVARNfbDoc::ownerName() const {
    const CVARNFBControl* f = frame();
    return f ? trimBlanks(f->name) : std::string();
}

CVARNFBControl& CVARNfbDoc::append(std::unique_ptr<CVARNFBControl> record) {
    controls_.push_back(std::move(record));
    return *controls_.back();
}

CVARNFBControl& CVARNfbDoc::insertAtHead(std::unique_ptr<CVARNFBControl> record) {
    controls_.insert(controls_.begin(), std::move(record));
    return *controls_.front();
}

bool CVARNfbDoc::moveToEnd(const CVARNFBControl* record) {
    auto it = std::find_if(controls_.begin(), controls_.end(), [&](const auto& c) { return c.get() == record; });
    if (it == controls_.end() || it + 1 == controls_.end()) return false;
    std::rotate(it, it + 1, controls_.end());
    return true;
}

std::unique_ptr<CVARNFBControl> CVARNfbDoc::remove(const CVARNFBControl* record) {
    auto it = std::find_if(controls_.begin(), controls_.end(), [&](const auto& c) { return c.get() == record; });
    if (it == controls_.end()) return nullptr;
    std::unique_ptr<CVARNFBControl> out = std::move(*it);
    controls_.erase(it);
    return out;
}

CVARNFBControl* CVARNfbDoc::findByName(const std::string& name) {
    for (auto& c : controls_)
        if (equalsNoCase(c->name, name)) return c.get();
    return nullptr;
}

std::vector<CVARNFBControl*> CVARNfbDoc::arrayElements(const CVARNFBControl& element) {
    std::vector<CVARNFBControl*> out;
    if (!element.isArrayElement()) {
        for (auto& c : controls_)
            if (c.get() == &element) out.push_back(c.get());
        return out;
    }
    for (auto& c : controls_)
        if (c->arrayCount == element.arrayCount && equalsNoCase(c->name, element.name)) out.push_back(c.get());
    return out;
}

void CVARNfbDoc::clear() {
    controls_.clear();
    clearPending();
}

std::unique_ptr<CVARNFBControl> CVARNfbDoc::newRecord(int kindCode) const {
    return std::make_unique<CVARNFBControl>(kindCode, env_);
}

bool CVARNfbDoc::nameInUse(const CVARNFBControl& control, const std::string& name) const {
    if (nameInUse_) return nameInUse_(control, name);
    for (const auto& c : controls_) {
        if (c.get() == &control) continue;
        if (equalsNoCase(c->name, name)) return true;
        for (const auto& cell : c->cells)
            if (equalsNoCase(cell->name, name)) return true;
    }
    return false;
}

void CVARNfbDoc::giveWindow(CVARNFBControl& record, PreviewWindow* parent, int id) {
    if (id == 0) id = ControlCounter::next();
    if (record.name.empty()) {
        std::string name = defaultControlName(record.kind, id);
        for (int tries = 0; tries < kMaxNamingTries && nameInUse(record, name); ++tries) {
            id = ControlCounter::next();
            name = defaultControlName(record.kind, id);
        }
        record.name = name;
    }
    record.controlId = id;
    if (!host_) return;
    record.window = host_->createPreview(record, parent, id);
    if (!record.window) return;
    if (record.kind == kind::Dropdown && record.dropdownListHeight == 0) {
        const int measured = record.window->listMeasureHeight();
        if (measured > 0) record.dropdownListHeight = scale_.unitsY(measured);
    }
    applyFont(record);
    record.window->showText(previewText(record));
}

FormFont CVARNfbDoc::fontOf(const CVARNFBControl& record) const {
    return resolveFormFont(record.fontName, record.fontStyle, record.fontSize, env_.useVARNFonts, env_.formFontName,
                           env_.pixelHeight);
}

void CVARNfbDoc::applyFont(CVARNFBControl& record) const {
    record.font = fontOf(record);
    if (record.window) record.window->applyFont(*record.font);
}

std::string CVARNfbDoc::previewText(const CVARNFBControl& record) {
    if (!record.displayIsExpression) return record.display;
    if (expressionPreview_) return expressionPreview_(record.display);
    if (!checker_) checker_ = std::make_unique<ExprChecker>();
    return expressionPreview(*checker_, record.display);
}

CVARNFBControl& CVARNfbDoc::addFrame() {
    CVARNFBControl& f = insertAtHead(newRecord(kind::Frame));
    giveWindow(f);
    return f;
}

void CVARNfbDoc::makeNewEmpty() {
    clear();
    newDocument = true;
    addFrame();
}

float CVARNfbDoc::readFactorX() const {
    if (fileUnitsX > 0) return static_cast<float>(env_.pixelWidth) / static_cast<float>(fileUnitsX);
    const int u = env_.previousDisplayWidth;
    if (u == env_.displayWidth || u <= 0) return scale_.x;
    return static_cast<float>(env_.pixelWidth) / static_cast<float>(u);
}

float CVARNfbDoc::readFactorY() const {
    if (fileUnitsY > 0) return static_cast<float>(env_.pixelHeight) / static_cast<float>(fileUnitsY);
    const int u = env_.previousDisplayHeight;
    if (u == env_.displayHeight || u <= 0) return scale_.y;
    return static_cast<float>(env_.pixelHeight) / static_cast<float>(u);
}

FormRect CVARNfbDoc::unitsToPixels(const FormRect& u) const {
    const float fx = readFactorX();
    const float fy = readFactorY();
    return FormRect{varn::unitsToPixels(u.left, fx), varn::unitsToPixels(u.top, fy), varn::unitsToPixels(u.right, fx),
                    varn::unitsToPixels(u.bottom, fy)};
}

FormRect CVARNfbDoc::pixelsToUnits(const FormRect& p) const {
    return FormRect{scale_.unitsX(addClamped(p.left, originX)), scale_.unitsY(addClamped(p.top, originY)),
                    scale_.unitsX(addClamped(p.right, originX)), scale_.unitsY(addClamped(p.bottom, originY))};
}

void CVARNfbDoc::clearPending() {
    pendingPositions.clear();
    pendingBitmaps.clear();
    pendingForegrounds.clear();
    pendingBackgrounds.clear();
}

FormLoadResult CVARNfbDoc::loadBytes(std::string_view bytes, Ui& ui) { return readFormFile(*this, bytes, ui); }

Result<FormLoadResult> CVARNfbDoc::load(const std::string& path, Ui& ui) {
    auto bytes = fsys::readFile(path);
    if (!bytes) return bytes.error();
    return loadBytes(*bytes, ui);
}

std::string CVARNfbDoc::formText(const std::string& fileName) const { return writeFormFile(*this, fileName, now()); }

Status CVARNfbDoc::save(const std::string& path) const {
    return fsys::writeFileAtomic(path, formText(paths::fileName(path)));
}

Status createEmptyFormFile(const std::string& path, const FormEnvironment& env, CVARNfbDoc::NameInUse nameInUse) {
    CVARNfbDoc doc(env);
    if (nameInUse) doc.setNameInUse(std::move(nameInUse));
    doc.makeNewEmpty();
    return doc.save(path);
}

}  // namespace varn
