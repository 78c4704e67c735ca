#include "menubar/CMenuBarDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "menubar/CMenuBarPreview.h"
#include "menubar/CMenuBarTree.h"
#include "project/ProjectModel.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CMenuBarDlg::CMenuBarDlg(ProjectModel& project, Ui& ui, MenuDesignerHooks hooks, const QString& select, QWidget* parent)
    : QDialog(parent), project_(project), ui_(ui), designer_(project.menuBars, ui, std::move(hooks)) {
    setObjectName(QStringLiteral("CMenuBarDlg"));
    readOnly_ = menuBarFileReadOnly(project);
    setWindowTitle(QString::fromLatin1(readOnly_ ? MenuBarDesigner::kReadOnlyTitle : MenuBarDesigner::kTitle));

    tree_ = new CMenuBarTree(this);
    expression_ = new QCheckBox(QStringLiteral("Expression"), this);
    expression_->setObjectName(QStringLiteral("Expression"));
    display_ = new QLineEdit(this);
    display_->setObjectName(QStringLiteral("Display"));
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("Name"));
    invokes_ = new QLineEdit(this);
    invokes_->setObjectName(QStringLiteral("Invokes"));
    browse_ = new QPushButton(QStringLiteral("..."), this);
    browse_->setObjectName(QStringLiteral("InvokesBrowse"));
    browse_->setToolTip(QStringLiteral("Go to the invoker function"));
    browse_->setAutoDefault(false);
    browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance(browse_->text()) * 3);
    preview_ = new CMenuBarPreview(this);

    auto* invokesRow = new QHBoxLayout;
    invokesRow->addWidget(invokes_);
    invokesRow->addWidget(browse_);
    auto* fields = new QFormLayout;
    fields->addRow(QString(), expression_);
    fields->addRow(QStringLiteral("Display"), display_);
    fields->addRow(QStringLiteral("Name"), name_);
    fields->addRow(QStringLiteral("Invokes"), invokesRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    new_ = buttons->addButton(QStringLiteral("New"), QDialogButtonBox::ActionRole);
    new_->setObjectName(QStringLiteral("New"));
    new_->setAutoDefault(false);

    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(tree_, 1);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("Preview"), this));
    layout->addWidget(preview_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CMenuBarDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CMenuBarDlg::reject);
    connect(new_, &QPushButton::clicked, this, &CMenuBarDlg::addNew);
    connect(browse_, &QPushButton::clicked, this, &CMenuBarDlg::browseInvokes);
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* now, QTreeWidgetItem*) { currentChanged(now); });
    connect(tree_, &CMenuBarTree::deleteRequested, this, &CMenuBarDlg::deleteCurrent);
    // After the drop has ended: the rows are rebuilt.
    connect(tree_, &CMenuBarTree::moveRequested, this, &CMenuBarDlg::moveRow, Qt::QueuedConnection);
    for (QLineEdit* e : {display_, name_}) connect(e, &QLineEdit::textEdited, this, &CMenuBarDlg::updatePreview);
    connect(expression_, &QCheckBox::toggled, this, &CMenuBarDlg::updatePreview);

    current_ = designer_.findBar(select.toStdString());
    rebuild();
    resize(560, 420);
}

QString CMenuBarDlg::run(QWidget* parent, ProjectModel& project, Ui& ui, MenuDesignerHooks hooks,
                         const QString& select) {
    CMenuBarDlg dlg(project, ui, std::move(hooks), select, parent);
    if (dlg.exec() != QDialog::Accepted) return {};
    return dlg.chosenBar();
}

MenuFields CMenuBarDlg::typed() const {
    return MenuFields{expression_->isChecked(), display_->text().toStdString(), name_->text().toStdString(),
                      invokes_->text().toStdString()};
}

void CMenuBarDlg::showFields() {
    const MenuFields f = designer_.fields(current_);
    const MenuFieldStates on = current_.isRoot() ? MenuFieldStates{} : MenuBarDesigner::fieldStates(current_.level());
    {
        QSignalBlocker block(expression_);
        expression_->setChecked(f.expression);
    }
    display_->setText(q(f.display));
    name_->setText(q(f.name));
    invokes_->setText(q(f.invokes));
    expression_->setEnabled(on.expression);
    display_->setEnabled(on.display);
    invokes_->setEnabled(on.invokes);
    browse_->setEnabled(on.invokes);
    name_->setEnabled(!current_.isRoot());
    updatePreview();
}

void CMenuBarDlg::updatePreview() {
    if (current_.isRoot()) {
        preview_->setMenu({}, -1, {}, -1);
        return;
    }
    // What the user has typed shows at once, before it is stored.
    auto shown = [this](const MenuNode& node) {
        return q(menuShownText(node == current_ ? typed() : designer_.fields(node)));
    };
    const CMenuBar& bar = designer_.bars()[current_.bar];
    QStringList tops;
    QStringList items;
    for (int t = 0; t < static_cast<int>(bar.tops.size()); ++t) tops << shown(MenuNode{current_.bar, t});
    if (current_.top >= 0) {
        const int count = static_cast<int>(bar.tops[current_.top].items.size());
        for (int i = 0; i < count; ++i) items << shown(MenuNode{current_.bar, current_.top, i});
    }
    preview_->setMenu(tops, current_.top, items, current_.item);
}

void CMenuBarDlg::rebuild() {
    {
        QSignalBlocker block(tree_);
        tree_->clear();
        for (const CMenuBar& bar : designer_.bars()) {
            auto* barRow = new QTreeWidgetItem(tree_, QStringList{q(bar.name)});
            for (const CMenuTop& top : bar.tops) {
                auto* topRow = new QTreeWidgetItem(barRow, QStringList{q(top.name)});
                for (const CMenuItem& item : top.items) new QTreeWidgetItem(topRow, QStringList{q(item.name)});
            }
        }
        tree_->expandAll();
    }
    select(current_);
}

void CMenuBarDlg::select(const MenuNode& node) {
    current_ = designer_.exists(node) ? node : MenuNode{};
    {
        QSignalBlocker block(tree_);
        tree_->setCurrentItem(rowOf(current_));
    }
    showFields();
}

void CMenuBarDlg::currentChanged(QTreeWidgetItem* now) {
    const MenuNode next = nodeOf(now);
    if (next == current_) return;
    if (!designer_.leave(current_, typed())) {
        // The old node stays chosen with what was typed into it; once the
        // click that chose another row has ended, its selection goes back too.
        QSignalBlocker block(tree_);
        tree_->setCurrentItem(rowOf(current_));
        QMetaObject::invokeMethod(
            this,
            [this] {
                QSignalBlocker again(tree_);
                tree_->setCurrentItem(rowOf(current_));
            },
            Qt::QueuedConnection);
        return;
    }
    if (QTreeWidgetItem* left = rowOf(current_)) left->setText(0, q(designer_.nameOf(current_)));
    current_ = next;
    showFields();
}

void CMenuBarDlg::addNew() {
    if (!designer_.leave(current_, typed())) return;
    current_ = designer_.addNew(current_);
    rebuild();
    name_->setFocus();
    name_->selectAll();
}

void CMenuBarDlg::deleteCurrent() {
    if (current_.isRoot() || !designer_.remove(current_)) return;
    MenuNode parent = current_;
    if (parent.item >= 0)
        parent.item = -1;
    else if (parent.top >= 0)
        parent.top = -1;
    else
        parent = MenuNode{};
    current_ = parent;
    rebuild();
}

void CMenuBarDlg::moveRow(QTreeWidgetItem* row, int to) {
    const MenuNode node = nodeOf(row);
    if (node.isRoot() || !designer_.leave(current_, typed())) return;
    const bool wasCurrent = node == current_;
    const MenuNode moved = designer_.move(node, to);
    if (wasCurrent) current_ = moved;
    rebuild();
}

void CMenuBarDlg::browseInvokes() { designer_.browseInvokes(typed()); }

void CMenuBarDlg::accept() {
    if (!designer_.leave(current_, typed())) return;
    const QString chosen = current_.isRoot() ? QString() : q(designer_.nameOf(MenuNode{current_.bar}));
    if (!readOnly_) {
        if (applyMenuBars(project_, designer_.bars(), ui_) == MenuBarsApplied::Declined) return;
        chosenBar_ = chosen;
    }
    QDialog::accept();
}

MenuNode CMenuBarDlg::nodeOf(QTreeWidgetItem* row) const {
    std::vector<int> path;
    for (QTreeWidgetItem* r = row; r; r = r->parent())
        path.insert(path.begin(), r->parent() ? r->parent()->indexOfChild(r) : tree_->indexOfTopLevelItem(r));
    MenuNode node;
    if (path.size() > 0) node.bar = path[0];
    if (path.size() > 1) node.top = path[1];
    if (path.size() > 2) node.item = path[2];
    return node;
}

QTreeWidgetItem* CMenuBarDlg::rowOf(const MenuNode& node) const {
    if (node.isRoot()) return nullptr;
    QTreeWidgetItem* row = tree_->topLevelItem(node.bar);
    if (row && node.top >= 0) row = row->child(node.top);
    if (row && node.item >= 0) row = row->child(node.item);
    return row;
}

}  // namespace varn
