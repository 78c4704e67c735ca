#include "form/CVARNfbPropertySheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <map>
#include <memory>

#include "app/CMainFrame.h"
#include "app/DocumentWindows.h"
#include "app/Ui.h"
#include "editor/FindInFiles.h"
#include "form/CSelectionListDlg.h"
#include "form/FormDesigner.h"
#include "form/FormKinds.h"
#include "form/FormText.h"
#include "form/GridColumns.h"
#include "form/PropertyRules.h"
#include "image/CVARNImgDoc.h"
#include "platform/SettingsStore.h"
#include "project/CProjectSettingsDlg.h"
#include "project/ProjectCommands.h"
#include "project/ProjectImages.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& t) { return t.toStdString(); }

QStringList choices(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* i : items) out << QString::fromUtf8(i);
    return out;
}

const QStringList& fontStyles() {
    static const QStringList styles = choices({"Regular", "Bold", "Italic", "Bold Italic"});
    return styles;
}

// The field a check sends the user back to, by its label on the page.
QString labelOf(PropertyField f, bool columnPage) {
    switch (f) {
        case PropertyField::Name:
            return QStringLiteral("Name");
        case PropertyField::Display:
            return QStringLiteral("Display");
        case PropertyField::Format:
            return QStringLiteral("Format");
        case PropertyField::List:
            return QStringLiteral("List");
        case PropertyField::ListHeight:
            return columnPage ? QStringLiteral("Height") : QStringLiteral("List Height");
        case PropertyField::Binding:
            return QStringLiteral("Binding");
        case PropertyField::None:
            break;
    }
    return {};
}

}  // namespace

// One page of the sheet: its fields by label, how it writes them back and
// how it is checked.
struct CVARNfbPropertySheet::Page {
    QWidget* widget = nullptr;
    QFormLayout* form = nullptr;
    std::map<QString, QWidget*> fields;
    std::function<void()> store;
    std::function<PropertyField()> check;
    bool columnPage = false;
    // A column page's record: a column of the working grid, or the new column.
    int column = -1;
    std::unique_ptr<CVARNFBControl> columnWork;
    const CVARNFBControl* original = nullptr;

    explicit Page(const QString& heading) {
        widget = new QWidget;
        auto* outer = new QVBoxLayout(widget);
        auto* box = new QGroupBox(heading, widget);
        form = new QFormLayout(box);
        outer->addWidget(box);
        outer->addStretch();
    }
    template <class W>
    W* add(const QString& label, W* w, QWidget* extra = nullptr) {
        fields[label] = w;
        if (!extra) {
            form->addRow(label, w);
        } else {
            fields[label + QStringLiteral("...")] = extra;  // the field's button
            auto* row = new QHBoxLayout;
            row->addWidget(w, 1);
            row->addWidget(extra);
            form->addRow(label, row);
        }
        return w;
    }
    QLineEdit* text(const QString& label, const std::string& value, QWidget* extra = nullptr) {
        auto* e = new QLineEdit(q(value));
        return add(label, e, extra);
    }
    QCheckBox* tick(const QString& label, bool on) {
        auto* c = new QCheckBox;
        c->setChecked(on);
        return add(label, c);
    }
    QSpinBox* number(const QString& label, int value, int min, int max) {
        auto* n = new QSpinBox;
        n->setRange(min, max);
        n->setValue(value);
        return add(label, n);
    }
    QComboBox* choice(const QString& label, const QStringList& items, const std::string& value, bool editable = false) {
        auto* c = new QComboBox;
        c->addItems(items);
        c->setEditable(editable);
        int at = -1;
        for (int i = 0; i < items.size(); ++i)
            if (equalsNoCase(s(items[i]), trimBlanks(value))) at = i;
        // The record's own spelling stays, so that an unchanged value is written as it was read.
        if (at >= 0) c->setItemText(at, q(trimBlanks(value)));
        if (at < 0 && editable)
            c->setEditText(q(value));
        else
            c->setCurrentIndex(at);
        return add(label, c);
    }
};

namespace {

std::string comboText(const QComboBox* c) {
    return c->isEditable() ? s(c->currentText()) : (c->currentIndex() < 0 ? std::string() : s(c->currentText()));
}

// The font and colour fields of the common page and of a column page.
std::function<void()> addFontAndColours(QWidget* owner, auto& page, CVARNFBControl& rec) {
    QStringList faces;
    for (const char* f : kDeviceFontChoices) faces << QString::fromUtf8(f);
    faces << QFontDatabase::families();
    QComboBox* font = page.choice(QStringLiteral("Font"), faces, rec.fontName, true);
    QComboBox* style = page.choice(QStringLiteral("Style"), fontStyles(), rec.fontStyle);
    auto* size = new QSpinBox;
    size->setRange(0, 999);
    size->setValue(rec.fontSize);
    auto* choose = new QPushButton(QStringLiteral("&Font..."));
    choose->setAutoDefault(false);
    page.add(QStringLiteral("Size"), size, choose);
    QObject::connect(choose, &QPushButton::clicked, owner, [owner, font, style, size] {
        const FontChoice now = fontChoiceOf(s(font->currentText()), s(style->currentText()), size->value());
        QFont initial(q(now.face));
        initial.setBold(now.weight == 700);
        initial.setItalic(now.italic);
        if (now.pointSize > 0) initial.setPointSize(now.pointSize);
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, initial, owner);
        if (!ok) return;
        font->setEditText(chosen.family());
        style->setCurrentText(q(fontStyleName(chosen.bold() ? 700 : 400, chosen.italic())));
        size->setValue(pointSizeFromTenths(qRound(chosen.pointSizeF() * 10)));
    });

    QCheckBox* system = page.tick(QStringLiteral("Use System Colors"), rec.useSystemColours);
    auto* fore = page.add(QStringLiteral("F Color"), new CColourWell);
    auto* back = page.add(QStringLiteral("B Color"), new CColourWell);
    fore->setColour(rec.foreground);
    back->setColour(rec.background);
    for (CColourWell* well : {fore, back}) {
        well->setEnabled(!rec.useSystemColours);
        QObject::connect(well, &CColourWell::colourChanged, well, [well](std::uint32_t c) {
            const std::uint32_t stored = storedColour(c);
            if (stored != c) well->setColour(stored);
        });
        QObject::connect(system, &QCheckBox::toggled, well, [well](bool on) { well->setEnabled(!on); });
    }
    return [&rec, font, style, size, system, fore, back] {
        rec.fontName = trimBlanks(s(font->currentText()));
        rec.fontStyle = comboText(style);
        rec.fontSize = size->value();
        rec.useSystemColours = system->isChecked();
        rec.foreground = fore->colour();
        rec.background = back->colour();
    };
}

}  // namespace

// ---------------------------------------------------------------------------

PropertySheetContext PropertySheetContext::forMainFrame(CMainFrame& frame, Ui& ui, const SettingsStore& settings) {
    PropertySheetContext c;
    c.ui = &ui;
    c.autoDupCheck = settings.getInt("Settings", "AutoDupCheck", 1) != 0;
    DuplicateCheck& duplicates = frame.commands().duplicates();
    c.duplicate = [&duplicates](const CVARNFBControl& control, const std::string& name, const std::string& list) {
        return duplicates.checkDuplicates(&control, name, list, false);
    };
    ProjectModel& project = frame.workspace().project();
    for (const PROJECT_ITEM* item : project.tree.itemsOfKind(ItemKind::Image))
        c.images.push_back(ProjectTree::labelOf(item->path));
    c.imageSize = [&project, &ui](const std::string& name) -> std::optional<std::pair<int, int>> {
        const std::string path = project.tree.imagePathByBaseName(name);
        CVARNImgDoc image(CVARNImgDoc::typeForPath(path));
        if (path.empty() || !image.open(path, ui, ProjectImages::settingsOf(project)) || image.images().empty())
            return std::nullopt;
        return std::pair{image.images().front().width(), image.images().front().height()};
    };
    for (const CMenuBar& bar : project.menuBars) c.menuBars.push_back(bar.name);
    c.goToInvoker = [&frame, &ui](const std::string& name) {
        FindInFiles find(ui, &frame.documents());
        const auto at = find.findInvoker(FindInFiles::projectFiles(frame.workspace().project().tree), name, true);
        if (at) frame.openAtLine(at->path, at->line - 1);
    };
    return c;
}

CVARNfbPropertySheet::CVARNfbPropertySheet(FormDesigner& designer, CVARNFBControl& control,
                                           PropertySheetContext context, QWidget* parent)
    : QDialog(parent), designer_(designer), control_(control), context_(std::move(context)), work_(control) {
    setObjectName(QStringLiteral("PropertySheet"));
    setWindowTitle(QString::fromUtf8(kSheetTitle));
    work_.cells = copyGridCells(control_);
    arraySize_ = control_.isArrayElement() ? control_.arrayCount : 1;
    tabs_ = new QTabWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CVARNfbPropertySheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    buildPages();
    connect(tabs_, &QTabWidget::currentChanged, this, &CVARNfbPropertySheet::tabChanged);
}

CVARNfbPropertySheet::~CVARNfbPropertySheet() = default;

bool CVARNfbPropertySheet::edit(QWidget* parent, FormDesigner& designer, const PropertySheetContext& context) {
    CVARNFBControl* dominant = designer.selection().dominant();
    if (!dominant || !context.ui) return false;
    CVARNfbPropertySheet sheet(designer, *dominant, context, parent);
    return sheet.exec() == QDialog::Accepted;
}

PropertyChecks CVARNfbPropertySheet::checks() const {
    return PropertyChecks{*context_.ui, context_.autoDupCheck, context_.duplicate};
}

QWidget* CVARNfbPropertySheet::field(int page, const QString& label) const {
    if (page < 0 || page >= static_cast<int>(pages_.size())) return nullptr;
    const auto& fields = pages_[static_cast<std::size_t>(page)]->fields;
    auto it = fields.find(label);
    return it == fields.end() ? nullptr : it->second;
}

void CVARNfbPropertySheet::buildPages() {
    addCommonPage();
    if (work_.kind == kind::Grid) {
        addGridPage();
        rebuildColumnPages();
    } else {
        addKindPage();
    }
}

void CVARNfbPropertySheet::addCommonPage() {
    auto page = std::make_unique<Page>(QStringLiteral("Common Properties"));
    Page& p = *page;
    QLineEdit* name = p.text(QStringLiteral("Name"), work_.name);
    auto storeLooks = addFontAndColours(this, p, work_);
    const FormEnvironment& env = designer_.doc().environment();
    const FormRect units = designer_.doc().pixelsToUnits(control_.rect());
    QSpinBox* width = p.number(QStringLiteral("Width"), units.width(), 0, env.displayWidth);
    QSpinBox* height = p.number(QStringLiteral("Height"), units.height(), 0, env.displayHeight);
    QSpinBox* x = p.number(QStringLiteral("X Position"), units.left, 0, env.displayWidth);
    QSpinBox* y = p.number(QStringLiteral("Y Position"), units.top, 0, env.displayHeight);
    QSpinBox* size = p.number(QStringLiteral("Array Size"), arraySize_, 1, 1000);
    QSpinBox* index = p.number(QStringLiteral("Array Index"), std::max(work_.arrayIndex, 0), 0, 1000);
    index->setReadOnly(true);
    index->setButtonSymbols(QAbstractSpinBox::NoButtons);
    QCheckBox* hidden = p.tick(QStringLiteral("Hidden"), work_.hidden);
    QCheckBox* locked = p.tick(QStringLiteral("Locked"), work_.locked);
    p.store = [this, name, storeLooks, width, height, x, y, size, hidden, locked] {
        work_.name = s(name->text());
        storeLooks();
        const FormRect r{x->value(), y->value(), x->value() + width->value(), y->value() + height->value()};
        work_.rect() = sheetRectToPixels(work_.kind, r, designer_.doc());
        arraySize_ = size->value();
        work_.hidden = hidden->isChecked();
        work_.locked = locked->isChecked();
    };
    p.check = [this, name] {
        const PropertyField f = checkCommonPage(control_, work_, checks());
        name->setText(q(work_.name));
        return f;
    };
    tabs_->addTab(p.widget, q(propertyPageTitle(work_.kind)));
    pages_.push_back(std::move(page));
}

void CVARNfbPropertySheet::addKindPage() {
    const int k = work_.kind;
    const ControlKindInfo* info = kindInfo(k);
    const std::string word = info ? info->bannerWord : "Unknown";
    auto page = std::make_unique<Page>(q(word + " Properties"));
    Page& p = *page;
    std::vector<std::function<void()>> stores;
    if (kindHasDisplay(k)) {
        QLineEdit* display = p.text(QStringLiteral("Display"), work_.display);
        QCheckBox* expression = p.tick(QStringLiteral("Expression"), work_.displayIsExpression);
        stores.push_back([this, display, expression] {
            work_.display = s(display->text());
            work_.displayIsExpression = expression->isChecked();
        });
    }
    if (kindHasBitmap(k)) {
        QStringList images{QString()};
        for (const std::string& i : context_.images) images << q(i);
        QComboBox* bitmap = p.choice(QStringLiteral("Bitmap"), images, work_.bitmap, true);
        stores.push_back([this, bitmap] { work_.bitmap = trimBlanks(s(bitmap->currentText())); });
    }
    QLineEdit* invokes = nullptr;
    if (kindHasInvokes(k)) {
        // Text and file selector pages have no browse button.
        const bool browsable = k != kind::Text && k != kind::FileSel;
        auto* browse = browsable ? new QPushButton(QStringLiteral("...")) : nullptr;
        invokes = p.text(QStringLiteral("Invokes"), work_.invokes, browse);
        if (browse) {
            browse->setAutoDefault(false);
            connect(browse, &QPushButton::clicked, this,
                    [this, invokes] { goToInvoker(invokes->text(), invokes->text()); });
        }
        stores.push_back([this, invokes] { work_.invokes = trimBlanks(s(invokes->text())); });
    }
    if (kindHasList(k)) {
        auto* open = new QPushButton(QStringLiteral("..."));
        open->setAutoDefault(false);
        QLineEdit* list = p.text(QStringLiteral("List"), work_.list, open);
        connect(open, &QPushButton::clicked, this, [this, list, k] { editList(work_, k, list->text()); });
        stores.push_back([this, list] { work_.list = trimBlanks(s(list->text())); });
    }
    if (k == kind::Text) {
        QComboBox* bar = p.choice(QStringLiteral("Scrollbar"), choices({"None", "Top", "Bottom"}), work_.scrollbar);
        QCheckBox* single = p.tick(QStringLiteral("Single line"), work_.singleLine);
        stores.push_back([this, bar, single] {
            work_.scrollbar = comboText(bar);
            work_.singleLine = single->isChecked();
        });
    }
    if (k == kind::Text || k == kind::Dropdown) {
        QCheckBox* noInput = p.tick(QStringLiteral("No Input"), work_.noInput);
        stores.push_back([this, noInput] { work_.noInput = noInput->isChecked(); });
    }
    if (k == kind::Dropdown) {
        QSpinBox* height = p.number(QStringLiteral("List Height"), work_.dropdownListHeight, 0, 65000);
        stores.push_back([this, height] { work_.dropdownListHeight = height->value(); });
    }
    if (k == kind::Button) {
        QComboBox* border =
            p.choice(QStringLiteral("Border"), choices({"Default", "Bold", "Dashed", "None", "Square"}), work_.border);
        QComboBox* map =
            p.choice(QStringLiteral("Button Map"),
                     choices({"None", "Key1", "Key2", "Key3", "Key4", "PageUp", "PageDn"}), work_.hardware);
        stores.push_back([this, border, map] {
            work_.border = comboText(border);
            work_.hardware = comboText(map);
        });
    }
    if (k == kind::Frame) {
        QStringList bars{QString()};
        for (const std::string& b : context_.menuBars) bars << q(b);
        QComboBox* menu = p.choice(QStringLiteral("MenuBar"), bars, work_.menuBar);
        stores.push_back([this, menu] { work_.menuBar = comboText(menu); });
    }
    if (kindHasFormat(k)) {
        QLineEdit* format = p.text(QStringLiteral("Format"), work_.format);
        stores.push_back([this, format] { work_.format = trimBlanks(s(format->text())); });
    }
    p.store = [stores] {
        for (const auto& f : stores) f();
    };
    p.check = [this] { return checkKindPage(control_, work_, checks()); };
    tabs_->addTab(p.widget, q(propertyPageTitle(k)));
    pages_.push_back(std::move(page));
}

void CVARNfbPropertySheet::addGridPage() {
    auto page = std::make_unique<Page>(QStringLiteral("Grid Properties"));
    Page& p = *page;
    struct Invoker {
        const char* label;
        std::string CVARNFBControl::*field;
    };
    std::vector<std::function<void()>> stores;
    for (const Invoker& i : {Invoker{"Row loaded invoker", &CVARNFBControl::rowLoadedInvoker},
                             Invoker{"Row unloaded invoker", &CVARNFBControl::rowUnloadedInvoker},
                             Invoker{"Selected row invoker", &CVARNFBControl::selectInvoker}}) {
        auto* browse = new QPushButton(QStringLiteral("..."));
        browse->setAutoDefault(false);
        QLineEdit* e = p.text(QString::fromUtf8(i.label), work_.*i.field, browse);
        connect(browse, &QPushButton::clicked, this, [this, e] { goToInvoker(e->text(), QString()); });
        stores.push_back([this, e, f = i.field] { work_.*f = trimBlanks(s(e->text())); });
    }
    QSpinBox* rows = p.number(QStringLiteral("Display rows"), work_.displayRows, 1, 1000);
    QSpinBox* dataRows = p.number(QStringLiteral("Data rows"), work_.dataRows, 0, 65000);
    QComboBox* bar = p.choice(QStringLiteral("Scrollbar"), choices({"None", "Yes"}), work_.scrollbar);
    QComboBox* border =
        p.choice(QStringLiteral("Border"), choices({"None", "Outline", "Column", "Row", "Both"}), work_.border);
    QCheckBox* select = p.tick(QStringLiteral("Select enabled"), work_.selectEnable);
    stores.push_back([this, rows, dataRows, bar, border, select] {
        const int oldRows = work_.gridRows();
        work_.displayRows = rows->value();
        if (work_.gridRows() != oldRows) {
            regridCells(work_, oldRows);
            columnsStale_ = true;
        }
        work_.dataRows = dataRows->value();
        work_.scrollbar = comboText(bar);
        work_.border = comboText(border);
        work_.selectEnable = select->isChecked();
    });

    // Column placement.
    auto* del = new QPushButton(QStringLiteral("Delete"));
    QComboBox* delColumn = p.add(QStringLiteral("Delete column"), new QComboBox, del);
    auto* move = new QPushButton(QStringLiteral("Move"));
    QComboBox* moveColumn = p.add(QStringLiteral("Move column"), new QComboBox, move);
    auto* before = new QRadioButton(QStringLiteral("Before"));
    auto* after = new QRadioButton(QStringLiteral("After"));
    before->setChecked(true);
    p.fields[QStringLiteral("Before")] = before;
    p.fields[QStringLiteral("After")] = after;
    auto* placeRow = new QHBoxLayout;
    placeRow->addWidget(before);
    placeRow->addWidget(after);
    p.form->addRow(QString(), placeRow);
    QComboBox* target = p.add(QStringLiteral("Target column"), new QComboBox);
    for (QPushButton* b : {del, move}) b->setAutoDefault(false);
    auto storeColumns = [this] {
        for (auto& page : pages_)
            if (page->columnPage && page->column >= 0) page->store();
    };
    connect(del, &QPushButton::clicked, this, [this, delColumn, storeColumns] {
        storeColumns();
        if (deleteGridColumn(work_, delColumn->currentIndex())) rebuildColumnPages();
    });
    connect(move, &QPushButton::clicked, this, [this, moveColumn, target, after, storeColumns] {
        storeColumns();
        if (moveGridColumn(work_, moveColumn->currentIndex(), target->currentIndex(), after->isChecked(), *context_.ui))
            rebuildColumnPages();
    });
    p.store = [stores] {
        for (const auto& f : stores) f();
    };
    p.check = [] { return PropertyField::None; };
    tabs_->addTab(p.widget, q(propertyPageTitle(kind::Grid)));
    pages_.push_back(std::move(page));
}

void CVARNfbPropertySheet::rebuildColumnPages() {
    const bool wasSwitching = switching_;
    switching_ = true;
    while (pages_.size() > 2) {
        tabs_->removeTab(static_cast<int>(pages_.size()) - 1);
        delete pages_.back()->widget;
        pages_.pop_back();
    }
    QStringList names;
    for (int k = 0; k < work_.gridColumnCount(); ++k) {
        const CVARNFBControl* column = work_.gridColumn(k);
        const CVARNFBControl* original = nullptr;
        for (std::size_t i = 0; i < control_.cells.size(); i += static_cast<std::size_t>(control_.gridRows()))
            if (control_.cells[i]->controlId == column->controlId && column->controlId >= 0)
                original = control_.cells[i].get();
        addColumnPage(k, original);
        names << q(trimBlanks(column->name).empty() ? std::string("<no name>") : trimBlanks(column->name));
    }
    addColumnPage(-1, nullptr);
    for (const QString& label :
         {QStringLiteral("Delete column"), QStringLiteral("Move column"), QStringLiteral("Target column")}) {
        auto* combo = static_cast<QComboBox*>(field(1, label));
        combo->clear();
        combo->addItems(names);
        combo->setCurrentIndex(-1);
    }
    if (current_ >= tabs_->count()) current_ = 1;
    tabs_->setCurrentIndex(current_);
    switching_ = wasSwitching;
}

void CVARNfbPropertySheet::addColumnPage(int column, const CVARNFBControl* original) {
    auto page = std::make_unique<Page>(QStringLiteral("Grid Column Properties"));
    Page& p = *page;
    p.columnPage = true;
    p.column = column;
    p.original = original;
    if (column >= 0) {
        p.columnWork = std::make_unique<CVARNFBControl>(*work_.gridColumn(column));
    } else {
        p.columnWork = std::make_unique<CVARNFBControl>(kind::Text, designer_.doc().environment());
        p.columnWork->dropdownListHeight = 30;
    }
    CVARNFBControl& col = *p.columnWork;
    QComboBox* type =
        p.choice(QStringLiteral("Control type"), choices({"Button", "Checkbox", "Dropdown", "Label", "Text"}),
                 kindInfo(col.kind) ? kindInfo(col.kind)->bannerWord : "");
    QSpinBox* width = p.number(QStringLiteral("Width (%)"), col.columnWidth, 0, 100);
    auto* columnNumber = new QLabel(column >= 0 ? QString::number(column) : QString());
    p.add(QStringLiteral("Column"), columnNumber);
    QSpinBox* row = p.number(QStringLiteral("Row"), 0, 0, std::max(work_.gridRows() - 1, 0));
    QLineEdit* name = p.text(QStringLiteral("Name"), col.name);
    QCheckBox* noInput = p.tick(QStringLiteral("No Input"), col.noInput);
    QLineEdit* display = p.text(QStringLiteral("Display"), col.display);
    QCheckBox* expression = p.tick(QStringLiteral("Expression"), col.displayIsExpression);
    QStringList images{QString()};
    for (const std::string& i : context_.images) images << q(i);
    QComboBox* bitmap = p.choice(QStringLiteral("Bitmap"), images, col.bitmap, true);
    connect(bitmap, &QComboBox::activated, this, [this, bitmap, width] {
        const std::string chosen = trimBlanks(s(bitmap->currentText()));
        if (chosen.empty() || !context_.imageSize) return;
        const auto size = context_.imageSize(chosen);
        if (!size) return;
        const auto warning = columnBitmapWarning(work_, width->value(), designer_.doc().environment(), chosen,
                                                 size->first, size->second);
        if (warning) context_.ui->warning(*warning);
    });
    auto* browse = new QPushButton(QStringLiteral("..."));
    browse->setAutoDefault(false);
    QLineEdit* invokes = p.text(QStringLiteral("Invokes"), col.invokes, browse);
    connect(browse, &QPushButton::clicked, this, [this, invokes] { goToInvoker(invokes->text(), invokes->text()); });
    auto* open = new QPushButton(QStringLiteral("..."));
    open->setAutoDefault(false);
    QLineEdit* list = p.text(QStringLiteral("List"), col.list, open);
    connect(open, &QPushButton::clicked, this, [this, &col, list] { editList(col, kind::Dropdown, list->text()); });
    QSpinBox* height = p.number(QStringLiteral("Height"), col.dropdownListHeight, 0, 65000);
    auto storeLooks = addFontAndColours(this, p, col);
    QComboBox* border =
        p.choice(QStringLiteral("Border"), choices({"Default", "Bold", "Dashed", "None", "Square"}), col.border);
    QComboBox* bar = p.choice(QStringLiteral("Scrollbar"), choices({"None", "Top", "Bottom"}), col.scrollbar);
    QCheckBox* single = p.tick(QStringLiteral("Single Line"), col.singleLine);
    QLineEdit* bind = p.text(QStringLiteral("Binding"), col.bind);
    QLineEdit* format = p.text(QStringLiteral("Format"), col.format);

    // Each row of the column has its own bitmap and colours: the fields show
    // the row chosen with "Row".
    struct RowLook {
        std::string bitmap;
        std::uint32_t foreground = 0;
        std::uint32_t background = 0;
    };
    auto looks = std::make_shared<std::vector<RowLook>>();
    for (int r = 0; r < (column >= 0 ? work_.gridRows() : 1); ++r) {
        const CVARNFBControl& cell =
            column >= 0 ? *work_.cells[static_cast<std::size_t>(column * work_.gridRows() + r)] : col;
        looks->push_back({cell.bitmap, cell.foreground, cell.background});
    }
    auto shown = std::make_shared<int>(0);
    auto* fore = static_cast<CColourWell*>(p.fields[QStringLiteral("F Color")]);
    auto* back = static_cast<CColourWell*>(p.fields[QStringLiteral("B Color")]);
    auto keepRow = [looks, shown, bitmap, fore, back] {
        (*looks)[static_cast<std::size_t>(*shown)] = {trimBlanks(s(bitmap->currentText())), fore->colour(),
                                                      back->colour()};
    };
    connect(row, &QSpinBox::valueChanged, this, [looks, shown, keepRow, bitmap, fore, back](int r) {
        if (r < 0 || r >= static_cast<int>(looks->size())) return;
        keepRow();
        *shown = r;
        const RowLook& look = (*looks)[static_cast<std::size_t>(r)];
        bitmap->setEditText(q(look.bitmap));
        const QSignalBlocker blockFore(fore), blockBack(back);
        fore->setColour(look.foreground);
        back->setColour(look.background);
    });

    Page* self = &p;
    p.store = [this, self, &col, type, width, name, noInput, display, expression, invokes, list, height, storeLooks,
               border, bar, single, bind, format, looks, keepRow] {
        const int kinds[] = {kind::Button, kind::Checkbox, kind::Dropdown, kind::Label, kind::Text};
        if (type->currentIndex() >= 0) col.kind = kinds[type->currentIndex()];
        col.columnWidth = width->value();
        col.name = s(name->text());
        col.noInput = noInput->isChecked();
        col.display = s(display->text());
        col.displayIsExpression = expression->isChecked();
        col.invokes = trimBlanks(s(invokes->text()));
        col.list = trimBlanks(s(list->text()));
        col.dropdownListHeight = height->value();
        storeLooks();
        col.border = comboText(border);
        col.scrollbar = comboText(bar);
        col.singleLine = single->isChecked();
        col.bind = trimBlanks(s(bind->text()));
        col.format = trimBlanks(s(format->text()));
        keepRow();
        const RowLook& first = looks->front();
        col.bitmap = first.bitmap;
        col.foreground = first.foreground;
        col.background = first.background;
        if (self->column < 0) return;
        if (!(col.fields() == work_.gridColumn(self->column)->fields())) setGridColumn(work_, self->column, col);
        for (std::size_t r = 0; r < looks->size() && r < static_cast<std::size_t>(work_.gridRows()); ++r) {
            CVARNFBControl& cell = *work_.cells[static_cast<std::size_t>(self->column * work_.gridRows()) + r];
            cell.bitmap = (*looks)[r].bitmap;
            cell.foreground = (*looks)[r].foreground;
            cell.background = (*looks)[r].background;
        }
    };
    p.check = [this, self, &col, name] {
        const PropertyField f = checkColumnPage(work_, self->column, self->original, col, checks());
        name->setText(q(col.name));
        return f;
    };
    if (column < 0) {
        auto* add = new QPushButton(QStringLiteral("Add Column"));
        add->setAutoDefault(false);
        p.form->addRow(QString(), add);
        p.fields[QStringLiteral("Add Column")] = add;
        connect(add, &QPushButton::clicked, this, [this, self] {
            self->store();
            const PropertyField f = self->check();
            if (f != PropertyField::None) {
                if (QWidget* w = self->fields[labelOf(f, true)]) w->setFocus();
                return;
            }
            for (auto& page : pages_)
                if (page->columnPage && page->column >= 0) page->store();
            work_.appendGridColumn(*self->columnWork);
            current_ = static_cast<int>(pages_.size()) - 1;  // the new column's page
            rebuildColumnPages();
        });
    }
    const QString caption = column < 0 ? QString::fromUtf8(kAddColumnPageTitle) : q(columnPageTitle(col.name));
    tabs_->addTab(p.widget, caption);
    pages_.push_back(std::move(page));
}

QWidget* CVARNfbPropertySheet::faultyField(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return nullptr;
    Page& p = *pages_[static_cast<std::size_t>(index)];
    p.store();
    // The new column's page is checked when its column is added.
    if (p.columnPage && p.column < 0) return nullptr;
    const PropertyField f = p.check();
    if (f == PropertyField::None) return nullptr;
    QWidget* w = field(index, labelOf(f, p.columnPage));
    return w ? w : p.widget;
}

void CVARNfbPropertySheet::tabChanged(int index) {
    if (switching_ || index == current_) return;
    switching_ = true;
    if (QWidget* faulty = faultyField(current_)) {
        tabs_->setCurrentIndex(current_);
        faulty->setFocus();
    } else {
        current_ = index;
    }
    switching_ = false;
    // New display rows: the column pages show the new rows.
    if (columnsStale_) {
        columnsStale_ = false;
        rebuildColumnPages();
    }
}

bool CVARNfbPropertySheet::switchTo(int page) {
    tabs_->setCurrentIndex(page);
    return tabs_->currentIndex() == page;
}

void CVARNfbPropertySheet::goToInvoker(const QString& fieldText, const QString& invokesText) {
    std::string name = trimBlanks(s(fieldText));
    if (name.empty()) name = trimBlanks(s(invokesText));
    if (name.empty()) {
        context_.ui->warning(FormDesigner::kEnterInvokerName);
        return;
    }
    if (context_.goToInvoker) context_.goToInvoker(name);
}

void CVARNfbPropertySheet::editList(CVARNFBControl& record, int kindCode, const QString& listName) {
    if (trimBlanks(s(listName)).empty()) {
        context_.ui->warning(listNameMissing(kindCode));
        return;
    }
    CSelectionListDlg::run(this, listEditorTitle(kindCode), record.listItems, record.listSize, *context_.ui);
}

void CVARNfbPropertySheet::accept() {
    if (QWidget* faulty = faultyField(current_)) {
        faulty->setFocus();
        return;
    }
    for (auto& page : pages_)
        if (!(page->columnPage && page->column < 0)) page->store();
    // A column defined on the "Add New Column" page (it has a name) is appended.
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
        Page& page = *pages_[static_cast<std::size_t>(i)];
        if (!page.columnPage || page.column >= 0) continue;
        page.store();
        if (trimBlanks(page.columnWork->name).empty()) continue;
        if (const PropertyField f = page.check(); f != PropertyField::None) {
            tabs_->setCurrentIndex(i);
            if (QWidget* w = page.fields[labelOf(f, true)]) w->setFocus();
            return;
        }
        work_.appendGridColumn(*page.columnWork);
    }
    designer_.applyProperties(control_, work_, arraySize_);
    QDialog::accept();
}

}  // namespace varn
