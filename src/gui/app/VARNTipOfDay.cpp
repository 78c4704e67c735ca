#include "app/VARNTipOfDay.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

constexpr const char* kHelpFile = "VARNide.hlp";

std::string trimmed(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

}  // namespace

TipList TipList::fromLines(const std::vector<std::string>& lines) {
    TipList list;
    for (const auto& line : lines) {
        std::string t = trimmed(line);
        if (!t.empty() && t[0] != ';') list.tips_.push_back(std::move(t));
    }
    return list;
}

TipList TipList::load(const std::string& path) {
    auto bytes = fsys::readFile(path);
    if (!bytes) return {};
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos) end = bytes->size();
        lines.push_back(bytes->substr(start, end - start));
        start = end + 1;
    }
    return fromLines(lines);
}

void TipList::start(int storedIndex) {
    if (tips_.empty()) {
        index_ = storedIndex;
        return;
    }
    const int n = static_cast<int>(tips_.size());
    index_ = storedIndex < 0 ? 0 : storedIndex % n;
}

void TipList::next() {
    if (!tips_.empty()) index_ = (index_ + 1) % static_cast<int>(tips_.size());
}

std::string TipList::current() const { return tips_.empty() ? std::string() : tips_[static_cast<std::size_t>(index_)]; }

int TipList::nextStartIndex() const {
    if (tips_.empty()) return index_;
    return (index_ + 1) % static_cast<int>(tips_.size());
}

VARNTipOfDay::VARNTipOfDay(const std::string& installPath, int currentTip, bool showAtStartup, QWidget* parent)
    : QDialog(parent), installPath_(installPath) {
    setObjectName(QStringLiteral("TipOfDay"));
    setWindowTitle(tr("Tip of the Day"));
    setModal(false);
    tips_ = TipList::load(paths::join(installPath_, TipList::kFileName));
    tips_.start(currentTip);

    auto* heading = new QLabel(tr("Did you know..."), this);
    QFont hf = heading->font();
    hf.setBold(true);
    hf.setPointSizeF(hf.pointSizeF() * 1.3);
    heading->setFont(hf);
    auto* bulb = new QLabel(this);
    bulb->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    bulb->setAlignment(Qt::AlignTop);

    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("TipText"));
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setMinimumSize(360, 110);
    text_->setTextFormat(Qt::PlainText);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    text_->setFrameShape(QFrame::StyledPanel);
    text_->setMargin(8);

    showAtStartup_ = new QCheckBox(tr("&Show tips at startup"), this);
    showAtStartup_->setChecked(showAtStartup);

    auto* buttons = new QDialogButtonBox(this);
    next_ = buttons->addButton(tr("&Next Tip"), QDialogButtonBox::ActionRole);
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setDefault(true);
    next_->setEnabled(tips_.size() > 1);
    const std::string helpPath = paths::join(installPath_, kHelpFile);
    help->setEnabled(fsys::exists(helpPath));
    connect(next_, &QPushButton::clicked, this, &VARNTipOfDay::nextTip);
    connect(help, &QPushButton::clicked, this,
            [helpPath] { QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(helpPath))); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(bulb);
    auto* texts = new QVBoxLayout;
    texts->addWidget(heading);
    texts->addWidget(text_, 1);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(showAtStartup_);
    layout->addWidget(buttons);
    showTip();
}

bool VARNTipOfDay::showAtStartup() const { return showAtStartup_->isChecked(); }
void VARNTipOfDay::setShowAtStartup(bool on) { showAtStartup_->setChecked(on); }
QString VARNTipOfDay::tipText() const { return text_->text(); }

void VARNTipOfDay::nextTip() {
    tips_.next();
    showTip();
}

void VARNTipOfDay::showTip() {
    if (tips_.empty()) {
        text_->setText(tr("No tips are available: the file %1 was not found or holds no tips.")
                           .arg(QString::fromStdString(paths::join(installPath_, TipList::kFileName))));
        return;
    }
    text_->setText(QString::fromStdString(tips_.current()));
}

}  // namespace varn
