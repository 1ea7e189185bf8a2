// The main window's fonts and colours: the Format menu and the stored
// appearance applied at start.
#include "core/settings_store.h"
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

void frmMain::applyStoredAppearance()
{
    auto get = [this](const char* section, const char* key) {
        return settings_.GetSetting(QLatin1String(section), QLatin1String(key));
    };
    const Widgets screenAll{lst1, lstNF, lstSG, TxtNew, txtCall, txtName, TxtCS, TxtChkin};
    const Widgets screenBoxes{lst1, lstNF, lstSG, TxtNew, txtCall, txtName, TxtCS};

    if (const QString font = get("Screen", "Font"); !font.isEmpty())
        for (QWidget* w : screenAll)
            setFamily(w, font);
    if (const auto bold = SettingValue::toBool(get("Screen", "Bold")))
        for (QWidget* w : screenAll)
            setBold(w, *bold);
    if (const auto italic = SettingValue::toBool(get("Screen", "Italic")))
        for (QWidget* w : screenBoxes)
            setItalic(w, *italic);
    const auto screenSize = SettingValue::toSize(get("Screen", "Size"));
    listFontSize_ = screenSize ? integerPart(*screenSize) : 0;
    if (screenSize)
        for (QWidget* w : screenBoxes)
            setSize(w, integerPart(*screenSize));
    if (const auto fg = SettingValue::toColour(get("Screen", "FGColor")))
        for (QWidget* w : screenAll)
            Ui::setTextColour(w, QColor(QRgb(*fg)));
    if (const auto bg = SettingValue::toColour(get("Screen", "BGColor"))) {
        for (QWidget* w : screenAll)
            Ui::setBackground(w, QColor(QRgb(*bg)));
        Ui::setBackground(rtfInfo, QColor(QRgb(*bg)));
    }

    const QString line = get("Form", "LineColor");
    lineColor_ = line.isEmpty() ? QColor(Qt::black) : QColor(QRgb(SettingValue::toColour(line).value_or(0)));

    const Widgets formAll{Label1, Label2, Label3, Label4, Label5, Label6, FraStations, FraSearch, fraFormData,
                          LblNew, lblCall, lblName, LblNF1, lblSG, lblMode, lblCS, fraAdd};
    if (const QString font = get("Form", "Font"); !font.isEmpty())
        for (QWidget* w : formAll)
            setFamily(w, font);
    if (const auto bold = SettingValue::toBool(get("Form", "Bold")))
        for (QWidget* w : formAll)
            setBold(w, *bold);
    if (const auto italic = SettingValue::toBool(get("Form", "Italic")))
        for (QWidget* w : formAll)
            if (w != Label5 && w != lblMode)
                setItalic(w, *italic);
    if (const auto size = SettingValue::toSize(get("Form", "Size"))) {
        for (QWidget* w : formAll)
            setSize(w, w == Label3 ? integerPart(*size) : *size);
        for (QWidget* w : Widgets{LblNF1, lblSG, lblCS, lblMode, fraAdd, FraSearch, FraStations, fraFormData})
            capSize(w, 18);
    }
    if (const auto fg = SettingValue::toColour(get("Form", "FGColor")))
        for (QWidget* w : Widgets{Label1, Label2, Label3, Label4, Label5, Label6, LblNew, lblCall, lblName, lblCS, lblMode,
                                  FraStations, FraSearch, fraFormData, optPreamble, optInstructions, LblNF1, lblSG, fraAdd})
            Ui::setTextColour(w, QColor(QRgb(*fg)));
    if (const auto bg = SettingValue::toColour(get("Form", "BGColor")))
        for (QWidget* w : Widgets{LblNew, lblCall, lblName, lblCS, Fra1, FraStations, FraSearch, fraFormData, fraInfo,
                                  optPreamble, optInstructions, LblNF1, lblSG, fraAdd, centralWidget()})
            Ui::setBackground(w, QColor(QRgb(*bg)));

    const Widgets dataAll{lblNetMgr, lblNetCtl, lblChkins};
    if (const QString font = get("FormData", "Font"); !font.isEmpty())
        for (QWidget* w : dataAll)
            setFamily(w, font);
    if (const auto bold = SettingValue::toBool(get("FormData", "Bold")))
        for (QWidget* w : dataAll)
            setBold(w, *bold);
    if (const auto italic = SettingValue::toBool(get("FormData", "Italic")))
        for (QWidget* w : dataAll)
            setItalic(w, *italic);
    if (const auto size = SettingValue::toSize(get("FormData", "Size")))
        for (QWidget* w : Widgets{lblNetMgr, lblNetCtl}) {
            setSize(w, integerPart(*size));
            capSize(w, 14);
        }
    if (const auto fg = SettingValue::toColour(get("FormData", "FontColor")))
        for (QWidget* w : Widgets{lblChkins, lblNetCtl, lblNetMgr, lblTraffic})
            Ui::setTextColour(w, QColor(QRgb(*fg)));
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
    settings_.SaveSetting(QStringLiteral("Screen"), QStringLiteral("Size"),
                          SettingValue::fromSize(float(lst1->font().pointSizeF())));
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
    Change_Caret();
    TxtChkin->setFocus();
}

void frmMain::mnuFormatFormFont_Click()
{
    const auto chosen = platform_.styleDialogs->askFont(Label3->font());
    if (!chosen) {
        // A cancel here is treated as an error of the operation.
        ErrorHandler(QStringLiteral("Cancel was selected."));
        return;
    }
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
    const QString form = QStringLiteral("Form");
    settings_.SaveSetting(form, QStringLiteral("Font"), f.family());
    settings_.SaveSetting(form, QStringLiteral("Bold"), SettingValue::fromBool(f.bold()));
    settings_.SaveSetting(form, QStringLiteral("Italic"), SettingValue::fromBool(f.italic()));
    settings_.SaveSetting(form, QStringLiteral("Size"), SettingValue::fromSize(float(f.pointSizeF())));
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
    centralWidget()->update();
    if (editorMode_ != MemberEditor::EditorMode::Add) {
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
    auto stored = [this](const char* key) {
        return !settings_.GetSetting(QStringLiteral("Preamble"), QLatin1String(key)).isEmpty();
    };
    const QTextCharFormat sel = rtfInfo->currentCharFormat();
    const QFont current = sel.font();
    QFont initial(stored("FontName") ? current.family() : QStringLiteral("Times New Roman"));
    initial.setBold(stored("Bold") ? current.bold() : true);
    initial.setItalic(stored("FontItalic") ? current.italic() : false);
    const bool smallScreen = state_.screenWidth == 1024 && state_.screenHeight == 768;
    initial.setPointSizeF(stored("FontSize") && current.pointSizeF() > 0 ? current.pointSizeF() : smallScreen ? 8 : 10);
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
