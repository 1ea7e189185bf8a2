#include "frm_sort.h"

#include "core/member_table.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "session/printouts.h"
#include "ui_style.h"

#include <QGridLayout>
#include <QListWidget>
#include <QStyle>

frmSort::frmSort(Platform& platform, const MemberTable& table, QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform), table_(table)
{
    setObjectName(QStringLiteral("frmSort"));
    setWindowTitle(DatabaseDisplay::kTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    const QFont listFont = Ui::font("MS Sans Serif", 8.25);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(listFont);
    List2 = new QListWidget(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setFont(listFont);
    List2->setVisible(false);

    // Both in one cell: the reader's list covers the sorting stage.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(List1, 0, 0);
    grid->addWidget(List2, 0, 0);
    List2->raise();

    // Room for the widest line a member can make (every field full of wide
    // letters) beside a vertical scroll bar.
    const QFontMetrics fm(listFont);
    const QString widest = QStringLiteral("      999 WW9WWW ") + QString(15, QLatin1Char('M')) + QLatin1Char(' ')
                           + QString(25, QLatin1Char('W'));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, List2);
    resize(fm.horizontalAdvance(widest) + 2 * List2->frameWidth() + scrollBar + 12, fm.height() * 30);
}

frmSort::~frmSort() = default;

bool frmSort::displayDatabase()
{
    const Prompts::Answer answer =
        platform_.prompts->ask(DatabaseDisplay::kQuestion, Prompts::Buttons::YesNoCancel, Prompts::Answer::Cancel,
                               Prompts::Icon::Question, DatabaseDisplay::kTitle);
    if (answer == Prompts::Answer::Cancel)
        return false;
    List1->clear();
    List2->clear();
    if (answer == Prompts::Answer::Yes) {
        List1->addItems(DatabaseDisplay::SortingItems(table_));
        List2->addItems(DatabaseDisplay::SortedLines(table_));
    } else {
        List2->addItems(DatabaseDisplay::SlotOrderLines(table_));
    }
    List2->setVisible(true);
    show();
    raise();
    return true;
}

frmSort* frmSort::DisplayDatabase(Platform& platform, const MemberTable& table, QWidget* parent)
{
    // A closed window is only waiting to be deleted; it is not reused.
    if (parent) {
        for (frmSort* open : parent->findChildren<frmSort*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (open->isVisible())
                return open->displayDatabase() ? open : nullptr;
        }
    }
    auto* window = new frmSort(platform, table, parent);
    if (window->displayDatabase())
        return window;
    delete window;
    return nullptr;
}
