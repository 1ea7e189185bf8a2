// The main window's fonts and colours: the Format menu and the stored
// appearance applied at start.
#include "core/settings_store.h"
#include "platform/line_printer.h"
#include "core/text_number.h"
#include "frm_main.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "platform/style_dialogs.h"
#include "ui_style.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTextEdit>

#include <cmath>
#include <initializer_list>

namespace {

using Widgets = std::initializer_list<QWidget*>;

void setFamily(QWidget* w, const QString& family)
{
    QFont f = w->font();
    f.setFamily(family);
    w->setFont(f);
}

void setBold(QWidget* w, bool on)
{
    QFont f = w->font();
    f.setBold(on);
    w->setFont(f);
}

void setItalic(QWidget* w, bool on)
{
    QFont f = w->font();
    f.setItalic(on);
    w->setFont(f);
}

void setSize(QWidget* w, double size)
{
    if (size <= 0)
        return;  // a damaged value keeps the size the control has
    QFont f = w->font();
    f.setPointSizeF(size);
    w->setFont(f);
}

void capSize(QWidget* w, double cap)
{
    if (w->font().pointSizeF() > cap)
        setSize(w, cap);
}

int integerPart(double v) { return int(std::trunc(v)); }

}  // namespace

void frmMain::applyStoredAppearance() { applyAppearance(appearance_); }

void frmMain::applyAppearance(const AppearanceStore& look)
{
    using Group = AppearanceStore::Group;
    using Colour = AppearanceStore::Colour;
    const AppearanceStore::Font screen = look.font(Group::Screen);
    const AppearanceStore::Font form = look.font(Group::Form);
    const AppearanceStore::Font formData = look.font(Group::FormData);
    const Widgets screenAll{lst1, lstNF, lstSG, TxtNew, txtCall, txtName, TxtCS, TxtChkin};
    const Widgets screenBoxes{lst1, lstNF, lstSG, TxtNew, txtCall, txtName, TxtCS};

    if (!screen.family.isEmpty())
        for (QWidget* w : screenAll)
            setFamily(w, screen.family);
    if (const auto bold = screen.bold)
        for (QWidget* w : screenAll)
            setBold(w, *bold);
    if (const auto italic = screen.italic)
        for (QWidget* w : screenBoxes)
            setItalic(w, *italic);
    const auto screenSize = screen.size;
    listFontSize_ = screenSize ? integerPart(*screenSize) : 0;
    if (screenSize)
        for (QWidget* w : screenBoxes)
            setSize(w, integerPart(*screenSize));
    if (const auto fg = look.colour(Group::Screen, Colour::Text))
        for (QWidget* w : screenAll)
            Ui::setTextColour(w, QColor(QRgb(*fg)));
    if (const auto bg = look.colour(Group::Screen, Colour::Background)) {
        for (QWidget* w : screenAll)
            Ui::setBackground(w, QColor(QRgb(*bg)));
        Ui::setBackground(rtfInfo, QColor(QRgb(*bg)));
    }

    lineColor_ = look.hasColour(Group::Form, Colour::Line)
        ? QColor(QRgb(look.colour(Group::Form, Colour::Line).value_or(0)))
        : QColor(Qt::black);

    const Widgets formAll{Label1, Label2, Label3, Label4, Label5, Label6, FraStations, FraSearch, fraFormData,
                          LblNew, lblCall, lblName, LblNF1, lblSG, lblMode, lblCS, fraAdd};
    if (!form.family.isEmpty())
        for (QWidget* w : formAll)
            setFamily(w, form.family);
    if (const auto bold = form.bold)
        for (QWidget* w : formAll)
            setBold(w, *bold);
    if (const auto italic = form.italic)
        for (QWidget* w : formAll)
            if (w != Label5 && w != lblMode)
                setItalic(w, *italic);
    if (const auto size = form.size) {
        for (QWidget* w : formAll)
            setSize(w, w == Label3 ? integerPart(*size) : *size);
        for (QWidget* w : Widgets{LblNF1, lblSG, lblCS, lblMode, fraAdd, FraSearch, FraStations, fraFormData})
            capSize(w, 18);
    }
    if (const auto fg = look.colour(Group::Form, Colour::Text))
        for (QWidget* w : Widgets{Label1, Label2, Label3, Label4, Label5, Label6, LblNew, lblCall, lblName, lblCS, lblMode,
                                  FraStations, FraSearch, fraFormData, optPreamble, optInstructions, LblNF1, lblSG, fraAdd})
            Ui::setTextColour(w, QColor(QRgb(*fg)));
    // The captions inside the frames paint no box of their own: a box of the
    // window's colour stood lighter than the frame it sat on.
    if (const auto bg = look.colour(Group::Form, Colour::Background))
        for (QWidget* w : Widgets{Fra1, FraStations, FraSearch, fraFormData, fraInfo, fraAdd, centralWidget()})
            Ui::setBackground(w, QColor(QRgb(*bg)));

    const Widgets dataAll{lblNetMgr, lblNetCtl, lblChkins};
    if (!formData.family.isEmpty())
        for (QWidget* w : dataAll)
            setFamily(w, formData.family);
    if (const auto bold = formData.bold)
        for (QWidget* w : dataAll)
            setBold(w, *bold);
    if (const auto italic = formData.italic)
        for (QWidget* w : dataAll)
            setItalic(w, *italic);
    if (const auto size = formData.size)
        for (QWidget* w : Widgets{lblNetMgr, lblNetCtl}) {
            setSize(w, integerPart(*size));
            capSize(w, 14);
        }
    if (const auto fg = look.colour(Group::FormData, Colour::Text))
        for (QWidget* w : Widgets{lblChkins, lblNetCtl, lblNetMgr, lblTraffic})
            Ui::setTextColour(w, QColor(QRgb(*fg)));
    keepTextReadable();
}

void frmMain::mnuFormatControlsFont_Click()
{
    const auto chosen = platform_.styleDialogs->askFont(lst1->font());
    if (!chosen)
        return;
    for (QWidget* w : Widgets{lst1, lstNF, lstSG}) {
        setFamily(w, chosen->family());
        setBold(w, chosen->bold());
        setItalic(w, chosen->italic());
        setSize(w, integerPart(chosen->pointSizeF()));
    }
    setBold(TxtChkin, chosen->bold());
    setItalic(TxtChkin, chosen->italic());
    appearance_.saveSize(AppearanceStore::Group::Screen, lst1->font().pointSizeF());
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatControlsColor_Click()
{
    const auto chosen = platform_.styleDialogs->askColour(Ui::textColour(lst1));
    if (!chosen)
        return;
    for (QWidget* w : Widgets{lst1, lstNF, lstSG, TxtNew, txtCall, txtName, TxtCS, TxtChkin})
        Ui::setTextColour(w, *chosen);
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatControlsBackgroundColor_Click()
{
    const auto chosen = platform_.styleDialogs->askColour(Ui::background(lst1));
    if (!chosen)
        return;
    for (QWidget* w : Widgets{lst1, rtfInfo, lstNF, lstSG, TxtNew, txtCall, txtName, TxtCS, TxtChkin})
        Ui::setBackground(w, *chosen);
    keepTextReadable();
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatFormFont_Click()
{
    const auto chosen = platform_.styleDialogs->askFont(Label3->font());
    if (!chosen)
        return;  // a cancel changes nothing
    const Widgets sixteen{Label1, Label2, Label3, Label4, Label5, Label6, LblNF1, lblSG, LblNew, lblCall, lblName, lblCS,
                          FraStations, FraSearch, fraFormData, fraAdd};
    setFamily(TxtChkin, chosen->family());
    for (QWidget* w : sixteen) {
        setFamily(w, chosen->family());
        setBold(w, chosen->bold());
        setItalic(w, chosen->italic());
    }
    const double size = chosen->pointSizeF();
    for (QWidget* w : Widgets{Label1, Label2, Label3, Label4, Label5, Label6, FraSearch, FraStations, fraFormData, fraAdd})
        setSize(w, integerPart(size));
    for (QWidget* w : Widgets{LblNew, lblCall, lblName, LblNF1, lblSG, lblCS})
        setSize(w, size);
    for (QWidget* w : Widgets{LblNF1, lblSG, lblCS, FraSearch, FraStations, fraFormData})
        capSize(w, 18);
    const QFont f = Label1->font();
    appearance_.saveFont(AppearanceStore::Group::Form, f.family(), f.bold(), f.italic(), f.pointSizeF());
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatFormFontColor_Click()
{
    const auto chosen = platform_.styleDialogs->askColour(Ui::textColour(Label1));
    if (!chosen)
        return;
    for (QWidget* w : Widgets{LblNew, lblCall, lblName, lblCS, optPreamble, optInstructions, Label1, Label2, Label3,
                              Label4, Label5, Label6, LblNF1, lblSG, FraStations, FraSearch, fraFormData, fraAdd})
        Ui::setTextColour(w, *chosen);
    keepTextReadable();
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatFormBackgroundColor_Click()
{
    const auto chosen = platform_.styleDialogs->askColour(Ui::background(centralWidget()));
    if (!chosen)
        return;
    for (QWidget* w : Widgets{Fra1, FraStations, fraFormData})
        w->hide();
    for (QWidget* w : Widgets{centralWidget(), Fra1, FraStations, FraSearch, fraFormData, fraAdd})
        Ui::setBackground(w, *chosen);
    for (QWidget* w : Widgets{Fra1, FraStations, fraFormData})
        w->show();
    keepTextReadable();
    centralWidget()->update();
    if (session_.editor().mode() != MemberEditor::EditorMode::Add) {
        Change_Caret();
        TxtChkin->setFocus();
    }
}

void frmMain::mnuFormatFormLineColor_Click()
{
    const auto chosen = platform_.styleDialogs->askColour(lineColor_);
    if (!chosen)
        return;
    lineColor_ = *chosen;
    ApplyMainLayout();
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatFormDataFont_Click()
{
    const auto chosen = platform_.styleDialogs->askFont(lblNetMgr->font());
    if (!chosen)
        return;
    for (QWidget* w : Widgets{lblNetMgr, lblNetCtl, lblChkins}) {
        setFamily(w, chosen->family());
        setBold(w, chosen->bold());
        setItalic(w, chosen->italic());
    }
    for (QWidget* w : Widgets{lblNetMgr, lblNetCtl}) {
        setSize(w, integerPart(chosen->pointSizeF()));
        capSize(w, 14);
    }
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatFormDataFontColor_Click()
{
    const auto chosen = platform_.styleDialogs->askColour(Ui::textColour(lblChkins));
    if (!chosen)
        return;
    for (QWidget* w : Widgets{lblChkins, lblNetCtl, lblNetMgr, lblTraffic})
        Ui::setTextColour(w, *chosen);
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatFormDataMemberColor_Click()
{
    const auto chosen = platform_.styleDialogs->askColour(Ui::textColour(lblMembers));
    if (!chosen)
        return;
    Ui::setTextColour(lblMembers, *chosen);
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatPreambleFont_Click()
{
    const AppearanceStore::PreambleValues stored = appearance_.preambleStored();
    const QTextCharFormat sel = rtfInfo->currentCharFormat();
    const QFont current = sel.font();
    QFont initial(stored.fontName ? current.family() : QStringLiteral("Times New Roman"));
    initial.setBold(stored.bold ? current.bold() : true);
    initial.setItalic(stored.italic ? current.italic() : false);
    const bool smallScreen = state_.screenWidth == 1024 && state_.screenHeight == 768;
    initial.setPointSizeF(stored.size && current.pointSizeF() > 0 ? current.pointSizeF() : smallScreen ? 8 : 10);
    const auto chosen = platform_.styleDialogs->askFont(initial);
    if (!chosen)
        return;
    QTextCharFormat f;
    f.setFontFamilies({chosen->family()});
    f.setFontWeight(chosen->bold() ? QFont::Bold : QFont::Normal);
    f.setFontItalic(chosen->italic());
    f.setFontPointSize(integerPart(chosen->pointSizeF()));
    rtfInfo->mergeCurrentCharFormat(f);
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatPreambleFontColor_Click()
{
    const auto chosen = platform_.styleDialogs->askColour(Qt::black);
    if (!chosen)
        return;
    QTextCharFormat f;
    f.setForeground(*chosen);
    rtfInfo->mergeCurrentCharFormat(f);
}

void frmMain::keepTextReadable()
{
    // Whatever the desktop's palette and the operator's choices, no text
    // stands on its background with less than 4.5:1.
    Ui::keepReadable(client_);
    for (QWidget* w : controls_)
        Ui::keepReadable(w);
    for (int k = 1; k <= lst1->count(); ++k)
        drawRosterLine(k);
}

// ---------------------------------------------------------------- kept for the next start

void frmMain::saveAppearance(bool withFormData) { saveAppearanceTo(appearance_, withFormData); }

void frmMain::saveAppearanceTo(AppearanceStore& look, bool withFormData)
{
    using Group = AppearanceStore::Group;
    using Colour = AppearanceStore::Colour;
    auto saveFont = [&look](Group group, const QFont& f) {
        look.saveFont(group, f.family(), f.bold(), f.italic(), f.pointSizeF());
    };
    saveFont(Group::Screen, lst1->font());
    look.saveColour(Group::Screen, Colour::Text, lst1->palette().color(QPalette::Text).rgb());
    look.saveColour(Group::Screen, Colour::Background, lst1->palette().color(QPalette::Base).rgb());
    look.saveColour(Group::Form, Colour::Text, Label1->palette().color(QPalette::WindowText).rgb());
    look.saveColour(Group::Form, Colour::Background, centralWidget()->palette().color(QPalette::Window).rgb());
    saveFont(Group::Form, Label1->font());
    if (withFormData) {
        saveFont(Group::FormData, lblNetMgr->font());
        look.saveColour(Group::FormData, Colour::Text, lblNetMgr->palette().color(QPalette::WindowText).rgb());
        look.saveColour(Group::Form, Colour::Line, lineColor_.rgb());
    }
}

void frmMain::loadPrinterFont()
{
    if (!platform_.printer)
        return;
    const AppearanceStore::Font stored = appearance_.font(AppearanceStore::Group::Print);
    PrinterFont f = platform_.printer->font();
    if (!stored.family.isEmpty())
        f.name = stored.family;
    f.bold = stored.bold.value_or(f.bold);
    f.italic = stored.italic.value_or(f.italic);
    if (stored.size && *stored.size > 0)
        f.size = *stored.size;
    platform_.printer->setFont(f);
}

void frmMain::savePrinterFont()
{
    if (printerCount_ <= 0 || !platform_.printer)
        return;
    const PrinterFont f = platform_.printer->font();
    appearance_.saveFont(AppearanceStore::Group::Print, f.name, f.bold, f.italic, f.size);
}
