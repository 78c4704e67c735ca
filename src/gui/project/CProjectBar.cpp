#include "project/CProjectBar.h"

#include <QHeaderView>
#include <QMenu>
#include <QSet>

#include <optional>

#include "project/ProjectCommands.h"
#include "project/ProjectIcons.h"

namespace varn {

namespace {

using Command = CProjectBar::Command;

// The context menu: a separator stands where the list holds no command.
const std::vector<std::optional<Command>>& menuLayout() {
    static const std::vector<std::optional<Command>> layout = {
        std::nullopt,
        Command::AddFormFile,
        Command::AddBitmapFile,
        Command::AddIconFile,
        Command::AddPackageFile,
        Command::AddCFile,
        Command::AddHFile,
        Command::AddMenubar,
        std::nullopt,
        Command::RemoveProjectItem,
        std::nullopt,
        Command::ProjectSettings,
        Command::ProjectVariables,
        Command::PrcSettings,
        Command::InstallSettings,
        std::nullopt,
        Command::UpdateIncludes,
        Command::CheckForDuplicates,
    };
    return layout;
}

bool needsApplication(Command c) {
    switch (c) {
    case Command::ProjectSettings:
    case Command::ProjectVariables:
    case Command::PrcSettings:
    case Command::InstallSettings:
    case Command::UpdateIncludes:
    case Command::CheckForDuplicates: return true;
    default: return false;
    }
}

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

ResourceView::ResourceView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("ResourceView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

CProjectBar::CProjectBar(ProjectTree& tree, QWidget* parent)
    : QDockWidget(parent), tree_(tree), view_(new ResourceView(this)) {
    setWindowTitle(QStringLiteral("Project Workspace"));
    setObjectName(QStringLiteral("ProjectWorkspace"));
    setWidget(view_);
    hasApplication_ = [this] { return !tree_.applicationPath().empty(); };
    connect(view_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row, int) { activateRow(row); });
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QTreeWidgetItem* row = view_->itemAt(at)) view_->setCurrentItem(row);
        contextMenu()->popup(view_->viewport()->mapToGlobal(at));
    });
    tree_.addListener(this);
    projectTreeChanged();
}

CProjectBar::~CProjectBar() { tree_.removeListener(this); }

QString CProjectBar::commandText(Command c) {
    switch (c) {
    case Command::AddFormFile: return QStringLiteral("Add Form File...");
    case Command::AddBitmapFile: return QStringLiteral("Add Bitmap File...");
    case Command::AddIconFile: return QStringLiteral("Add Icon File...");
    case Command::AddPackageFile: return QStringLiteral("Add Package File...");
    case Command::AddCFile: return QStringLiteral("Add C File...");
    case Command::AddHFile: return QStringLiteral("Add H File...");
    case Command::AddMenubar: return QStringLiteral("Add Menubar...");
    case Command::RemoveProjectItem: return QStringLiteral("Remove Project Item");
    case Command::ProjectSettings: return QStringLiteral("Project Settings...");
    case Command::ProjectVariables: return QStringLiteral("Project Variables...");
    case Command::PrcSettings: return QStringLiteral("PRC Settings...");
    case Command::InstallSettings: return QStringLiteral("Application Install Settings...");
    case Command::UpdateIncludes: return QStringLiteral("Update Includes");
    case Command::CheckForDuplicates: return QStringLiteral("Check For Duplicates");
    }
    return {};
}

bool CProjectBar::commandEnabled(Command c) const {
    auto h = handlers_.find(c);
    if (blocked_ || h == handlers_.end() || !h->second) return false;
    if (c == Command::RemoveProjectItem) {
        const int kind = selectedKind();
        return selectedItem() != 0 && kind >= 0 && ProjectCommands::canRemove(static_cast<ItemKind>(kind));
    }
    if (needsApplication(c)) return hasApplication_ && hasApplication_();
    return true;
}

void CProjectBar::runCommand(Command c) {
    if (!commandEnabled(c)) return;
    handlers_[c]();
}

QMenu* CProjectBar::contextMenu() {
    if (menu_) menu_->deleteLater();
    menu_ = new QMenu(this);
    for (const auto& entry : menuLayout()) {
        if (!entry) {
            menu_->addSeparator();
            continue;
        }
        const Command c = *entry;
        QAction* a = menu_->addAction(commandText(c));
        a->setData(static_cast<int>(c));
        a->setEnabled(commandEnabled(c));
        connect(a, &QAction::triggered, this, [this, c] { runCommand(c); });
    }
    return menu_;
}

int CProjectBar::selectedItem() const {
    QTreeWidgetItem* row = view_->currentItem();
    return row ? row->data(0, kItemRole).toInt() : 0;
}

int CProjectBar::selectedKind() const {
    QTreeWidgetItem* row = view_->currentItem();
    return row ? row->data(0, kKindRole).toInt() : kCategoryRow;
}

QTreeWidgetItem* CProjectBar::rowOf(int item) const {
    if (item == 0) return nullptr;
    for (QTreeWidgetItemIterator it(view_); *it; ++it)
        if ((*it)->data(0, kItemRole).toInt() == item) return *it;
    return nullptr;
}

QTreeWidgetItem* CProjectBar::categoryRow(const QString& label) const {
    for (int i = 0; i < view_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = view_->topLevelItem(i);
        if (row->data(0, kKindRole).toInt() == kCategoryRow && row->text(0) == label) return row;
    }
    return nullptr;
}

void CProjectBar::activateRow(QTreeWidgetItem* row) {
    if (!row) return;
    const int kind = row->data(0, kKindRole).toInt();
    if (kind == static_cast<int>(ItemKind::Project)) {
        runCommand(Command::ProjectSettings);
    } else if (kind == static_cast<int>(ItemKind::MenuBar)) {
        emit menuBarRequested(row->data(0, kPathRole).toString());
    } else if (kind > static_cast<int>(ItemKind::Project)) {
        emit openFileRequested(row->data(0, kPathRole).toString());
    }
}

QIcon CProjectBar::iconOf(ItemKind kind, bool readOnly) {
    const int key = static_cast<int>(kind) * 2 + (readOnly ? 1 : 0);
    auto it = icons_.find(key);
    if (it != icons_.end()) return *it;
    return *icons_.insert(key, ProjectIcons::item(kind, readOnly));
}

QTreeWidgetItem* CProjectBar::addRow(QTreeWidgetItem* parent, const QString& label, int kind, int item,
                                     const QString& path) {
    auto* row = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(view_);
    row->setText(0, label);
    row->setData(0, kKindRole, kind);
    row->setData(0, kItemRole, item);
    row->setData(0, kPathRole, path);
    if (!path.isEmpty()) row->setToolTip(0, path);
    return row;
}

void CProjectBar::projectTreeChanged() {
    // Keep what the user sees: the selected item and the opened categories.
    const int selected = selectedItem();
    const int selectedKindBefore = selectedKind();
    QString selectedCategory;
    if (QTreeWidgetItem* row = view_->currentItem(); row && selectedKindBefore == kCategoryRow)
        selectedCategory = row->text(0);
    QSet<QString> opened;
    for (int i = 0; i < view_->topLevelItemCount(); ++i)
        if (view_->topLevelItem(i)->isExpanded()) opened.insert(view_->topLevelItem(i)->text(0));

    view_->clear();
    projectRow_ = addRow(nullptr, q(tree_.projectLabel()), static_cast<int>(ItemKind::Project), 0, q(tree_.projectPath()));
    projectRow_->setIcon(0, iconOf(ItemKind::Project, !tree_.projectPath().empty() && tree_.projectReadOnly()));

    for (const PROJECT_ITEM* app : tree_.itemsOfKind(ItemKind::Application)) {
        QTreeWidgetItem* row = addRow(nullptr, q(ProjectTree::labelOf(app->path)),
                                      static_cast<int>(ItemKind::Application), app->item, q(app->path));
        row->setIcon(0, iconOf(ItemKind::Application, app->readOnly));
    }
    for (const auto& category : tree_.categories()) {
        QTreeWidgetItem* folder = addRow(nullptr, q(category.label), kCategoryRow, 0, {});
        folder->setIcon(0, ProjectIcons::category());
        for (int id : category.items) {
            const PROJECT_ITEM* r = tree_.find(id);
            if (!r) continue;
            const QString label = q(r->kind == ItemKind::MenuBar ? r->path : ProjectTree::labelOf(r->path));
            QTreeWidgetItem* row = addRow(folder, label, static_cast<int>(r->kind), r->item, q(r->path));
            row->setIcon(0, iconOf(r->kind, r->readOnly));
        }
        folder->setExpanded(category.expanded || opened.contains(folder->text(0)));
    }
    // The empty tree's placeholder stays in the model; the view does not show it.
    QTreeWidgetItem* dummy = addRow(nullptr, QString::fromLatin1(ProjectTree::kDummy), kDummyRow, 0, {});
    dummy->setHidden(true);

    QTreeWidgetItem* current = selected ? rowOf(selected) : nullptr;
    if (!current && !selectedCategory.isEmpty()) current = categoryRow(selectedCategory);
    if (current) view_->setCurrentItem(current);
}

}  // namespace varn
