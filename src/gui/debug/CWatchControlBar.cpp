#include "debug/CWatchControlBar.h"

#include <QHeaderView>
#include <QSignalBlocker>

#include <algorithm>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>

#include "debug/WatchPanes.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CWatchControlBar::CWatchControlBar(WatchPanes& panes, QWidget* parent)
    : QDockWidget(QStringLiteral("Watch Window"), parent), panes_(panes) {
    setObjectName(QStringLiteral("WatchBar"));
    tabs_ = new QTabWidget(this);
    tabs_->setTabPosition(QTabWidget::South);
    for (int pane = 0; pane < WatchPanes::kPaneCount; ++pane) {
        auto* list = new QTreeWidget(tabs_);
        list->setObjectName(q(WatchPanes::title(pane)));
        list->setRootIsDecorated(false);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setHeaderLabels({QString::fromLatin1(WatchPanes::kNameColumn), QString::fromLatin1(WatchPanes::kValueColumn)});
        list->setColumnWidth(0, WatchPanes::kNameColumnWidth);
        list->setColumnWidth(1, WatchPanes::kValueColumnWidth);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        // Double-clicking the empty row edits it (the list's own edit trigger).
        connect(list, &QTreeWidget::itemDoubleClicked, this, [this, list](QTreeWidgetItem* item) {
            if (!isNewRow(list, item)) emit variableActivated(item->text(0));
        });
        if (WatchPanes::isWatchPane(pane))
            connect(list, &QTreeWidget::itemChanged, this, [this, pane, list](QTreeWidgetItem* item, int column) {
                if (column != 0 || !isNewRow(list, item)) return;
                const QString name = item->text(0).trimmed();
                if (name.isEmpty()) return;
                panes_.add(pane, name.toStdString());
                refresh();
                emit watchListsChanged();
                emit watchAdded(pane);
            });
        connect(list, &QTreeWidget::customContextMenuRequested, this,
                [this, pane, list](const QPoint& at) { showMenu(pane, list->viewport()->mapToGlobal(at)); });
        lists_[static_cast<std::size_t>(pane)] = list;
        tabs_->addTab(list, q(WatchPanes::title(pane)));
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int pane) { panes_.activePane = pane; });
    setWidget(tabs_);
    refresh();
}

void CWatchControlBar::refresh() {
    for (int pane = 0; pane < WatchPanes::kPaneCount; ++pane) {
        QTreeWidget* list = lists_[static_cast<std::size_t>(pane)];
        const auto& items = panes_.items(pane);
        list->setUpdatesEnabled(false);
        const int rows = static_cast<int>(items.size()) + (WatchPanes::isWatchPane(pane) ? 1 : 0);
        QSignalBlocker block(list);
        while (list->topLevelItemCount() > rows) delete list->takeTopLevelItem(list->topLevelItemCount() - 1);
        for (std::size_t i = 0; i < items.size(); ++i) {
            QTreeWidgetItem* row = list->topLevelItem(static_cast<int>(i));
            if (!row) row = new QTreeWidgetItem(list);
            row->setFlags(row->flags() & ~Qt::ItemIsEditable);
            row->setText(0, q(items[i].name));
            row->setText(1, q(items[i].value));
            row->setToolTip(1, q(items[i].value));
        }
        // The watch panes end in an empty row where a new name can be typed.
        if (WatchPanes::isWatchPane(pane)) {
            QSignalBlocker block(list);
            QTreeWidgetItem* row = list->topLevelItem(static_cast<int>(items.size()));
            if (!row) row = new QTreeWidgetItem(list);
            row->setText(0, QString());
            row->setText(1, QString());
            row->setFlags(row->flags() | Qt::ItemIsEditable);
            row->setToolTip(0, QStringLiteral("Type a variable to watch"));
        }
        list->setUpdatesEnabled(true);
    }
    if (tabs_->currentIndex() != panes_.activePane) tabs_->setCurrentIndex(panes_.activePane);
}

bool CWatchControlBar::isNewRow(QTreeWidget* list, QTreeWidgetItem* item) const {
    const int pane = static_cast<int>(std::find(lists_.begin(), lists_.end(), list) - lists_.begin());
    return WatchPanes::isWatchPane(pane) &&
           list->indexOfTopLevelItem(item) == static_cast<int>(panes_.items(pane).size());
}

void CWatchControlBar::setPaneFont(const QFont& font) {
    for (QTreeWidget* list : lists_) list->setFont(font);
}

void CWatchControlBar::clearWindow() {
    panes_.clearWatches();
    refresh();
    emit watchListsChanged();
}

void CWatchControlBar::deleteVariable() {
    const int pane = tabs_->currentIndex();
    if (!WatchPanes::isWatchPane(pane)) return;
    std::vector<std::size_t> rows;
    QTreeWidget* list = lists_[static_cast<std::size_t>(pane)];
    for (QTreeWidgetItem* item : list->selectedItems())
        if (!isNewRow(list, item)) rows.push_back(static_cast<std::size_t>(list->indexOfTopLevelItem(item)));
    if (rows.empty()) return;
    panes_.deleteRows(pane, rows);
    refresh();
    emit watchListsChanged();
}

void CWatchControlBar::showMenu(int pane, const QPoint& at) {
    if (!WatchPanes::isWatchPane(pane)) return;  // the Locals pane has no menu
    QMenu menu(this);
    QAction* clear = menu.addAction(QStringLiteral("Clear Window"));
    clear->setData(ID_CLEAR_WINDOW);
    QAction* del = menu.addAction(QStringLiteral("Delete Variable"));
    del->setData(ID_DELETE_VARIABLE);
    del->setEnabled(!lists_[static_cast<std::size_t>(pane)]->selectedItems().isEmpty());
    QAction* chosen = menu.exec(at);
    if (chosen == clear) clearWindow();
    else if (chosen == del) deleteVariable();
}

}  // namespace varn
