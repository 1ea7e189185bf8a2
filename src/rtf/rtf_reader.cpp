#include "rtf/rtf_reader.h"

#include "rtf/code_pages.h"
#include "rtf/rtf_lexer.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

using rtf::Token;

// Twips per pixel at 96 dpi; block margins in a QTextDocument are pixels.
constexpr double kTwipsPerPixel = 15.0;
// Word's own limit for indents and spacing (22 inches).
constexpr int kTwipLimit = 31680;
// Font sizes in half points: 1 to 1638 points, as Word allows.
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;
constexpr int kDefaultHalfPoints = 24;

enum class Kw : quint8 {
    Unknown,
    SkipDest,
    FontTable,
    ColorTable,
    FontAlt,
    Upr,
    Ud,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Font,
    FontCharset,
    FontCodePage,
    FamilyRoman,
    FamilySwiss,
    FamilyModern,
    FamilyScript,
    FamilyDecor,
    Red,
    Green,
    Blue,
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Hidden,
    Caps,
    SmallCaps,
    Super,
    Sub,
    NoSuperSub,
    FontSize,
    Foreground,
    Background,
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    Par,
    Line,
    Tab,
    Cell,
    Unicode,
    UnicodeSkip,
    Char,
};

struct KwInfo {
    Kw kw = Kw::Unknown;
    char16_t ch = 0;  // Kw::Char: the character the word stands for
};

const std::unordered_map<std::string_view, KwInfo>& keywords()
{
    static const auto map = [] {
        std::unordered_map<std::string_view, KwInfo> m;
        // Destinations whose content is not document text. Words marked with
        // \* are skipped anyway; these are the ones writers leave unmarked
        // (and a few marked ones, for readability of this list).
        for (const char* w :
             {"info", "stylesheet", "pict", "object", "objdata", "objclass", "objname", "header", "headerl",
              "headerr", "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "annotation", "atnid",
              "atnauthor", "atndate", "atnref", "atntime", "atrfstart", "atrfend", "xe", "tc", "txe", "rxe",
              "bkmkstart", "bkmkend", "fldinst", "template", "revtbl", "listtable", "listoverridetable", "filetbl",
              "pgdsctbl", "rsidtbl", "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl",
              "generator", "shp", "shpinst", "shprslt", "shppict", "nonshppict", "pn", "pntxta", "pntxtb", "private",
              "userprops", "docvar", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "fontemb",
              "fontfile", "panose", "keycode", "author", "operator", "title", "subject", "company", "doccomm",
              "comment", "keywords", "category", "manager", "hlinkbase", "buptim", "creatim", "printim", "revtim",
              "blipuid", "picprop", "do", "htmltag", "mhtmltag", "background", "mmathPr", "wgrffmtfilter",
              "listpicture", "defchp", "defpap", "passwordhash", "protusertbl", "fchars", "lchars"})
            m.emplace(w, KwInfo{Kw::SkipDest});
        const std::pair<const char*, Kw> words[] = {
            {"fonttbl", Kw::FontTable},
            {"colortbl", Kw::ColorTable},
            {"falt", Kw::FontAlt},
            {"upr", Kw::Upr},
            {"ud", Kw::Ud},
            {"ansi", Kw::Ansi},
            {"mac", Kw::Mac},
            {"pc", Kw::Pc},
            {"pca", Kw::Pca},
            {"ansicpg", Kw::AnsiCpg},
            {"deff", Kw::Deff},
            {"f", Kw::Font},
            {"fcharset", Kw::FontCharset},
            {"cpg", Kw::FontCodePage},
            {"froman", Kw::FamilyRoman},
            {"fswiss", Kw::FamilySwiss},
            {"fmodern", Kw::FamilyModern},
            {"fscript", Kw::FamilyScript},
            {"fdecor", Kw::FamilyDecor},
            {"red", Kw::Red},
            {"green", Kw::Green},
            {"blue", Kw::Blue},
            {"plain", Kw::Plain},
            {"b", Kw::Bold},
            {"i", Kw::Italic},
            {"ulnone", Kw::UnderlineNone},
            {"strike", Kw::Strike},
            {"striked", Kw::Strike},
            {"v", Kw::Hidden},
            {"caps", Kw::Caps},
            {"scaps", Kw::SmallCaps},
            {"super", Kw::Super},
            {"sub", Kw::Sub},
            {"nosupersub", Kw::NoSuperSub},
            {"fs", Kw::FontSize},
            {"cf", Kw::Foreground},
            {"highlight", Kw::Background},
            {"cb", Kw::Background},
            {"chcbpat", Kw::Background},
            {"pard", Kw::Pard},
            {"ql", Kw::AlignLeft},
            {"qc", Kw::AlignCenter},
            {"qr", Kw::AlignRight},
            {"qj", Kw::AlignJustify},
            {"qd", Kw::AlignJustify},
            {"li", Kw::LeftIndent},
            {"ri", Kw::RightIndent},
            {"fi", Kw::FirstIndent},
            {"sb", Kw::SpaceBefore},
            {"sa", Kw::SpaceAfter},
            {"sl", Kw::LineSpacing},
            {"slmult", Kw::LineMultiple},
            {"par", Kw::Par},
            {"sect", Kw::Par},
            {"page", Kw::Par},
            {"column", Kw::Par},
            {"row", Kw::Par},
            {"nestrow", Kw::Par},
            {"cell", Kw::Cell},
            {"nestcell", Kw::Cell},
            {"line", Kw::Line},
            {"tab", Kw::Tab},
            {"u", Kw::Unicode},
            {"uc", Kw::UnicodeSkip},
        };
        for (const auto& [w, kw] : words)
            m.emplace(w, KwInfo{kw});
        // Every underline style shows as an underline; \ulc (its colour) does not.
        for (const char* w : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
                              "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
                              "ulwave"})
            m.emplace(w, KwInfo{Kw::Underline});
        const std::pair<const char*, char16_t> chars[] = {
            {"bullet", 0x2022},  {"emdash", 0x2014},  {"endash", 0x2013},    {"lquote", 0x2018},
            {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
            {"enspace", 0x2002}, {"qmspace", 0x2005}, {"zwj", 0x200D},       {"zwnj", 0x200C},
            {"zwbo", 0x200B},    {"ltrmark", 0x200E}, {"rtlmark", 0x200F},
        };
        for (const auto& [w, ch] : chars)
            m.emplace(w, KwInfo{Kw::Char, ch});
        return m;
    }();
    return map;
}

enum class Dest : quint8 { Text, FontTable, FontAlt, ColorTable };

struct CharState {
    int font = -1;  // -1: the document's default font (\deff)
    int halfPoints = kDefaultHalfPoints;
    int fg = -1;  // colour table index; -1 none
    int bg = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    quint8 vertical = 0;  // 1 superscript, 2 subscript
    quint8 caps = 0;      // 1 all capitals, 2 small capitals
    bool operator==(const CharState&) const = default;
};

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int left = 0, right = 0, first = 0, before = 0, after = 0;  // twips
    int lineSpacing = 0;
    bool lineMultiple = false;
};

struct Group {
    CharState ch;
    ParaState para;
    int uc = 1;
    Dest dest = Dest::Text;
    bool upr = false;  // \upr: of its two subgroups only the \*\ud one is read
};

struct FontEntry {
    QString name;
    QString alt;
    int charset = -1;
    int codePage = 0;
    QFont::StyleHint hint = QFont::AnyStyle;
};

struct ColorEntry {
    int r = 0, g = 0, b = 0;
    bool set = false;  // no components: the "auto" colour
};

// Characters a QTextDocument must not be handed as text: its own frame and
// object markers, paragraph separators and control characters.
char16_t forDocument(char16_t c)
{
    if (c == '\t' || c == QChar::LineSeparator)
        return c;
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
        return 0;
    switch (c) {
    case 0xFDD0:
    case 0xFDD1:
    case QChar::ObjectReplacementCharacter:
    case QChar::ParagraphSeparator:
    case 0xFFFE:
    case 0xFFFF: return rtf::kReplacement;
    default: return c;
    }
}

// Characters kept in a font name: text, without tabs or line breaks.
bool nameCharacter(char16_t c)
{
    return c >= 0x20 && c != QChar::LineSeparator && !QChar::isSurrogate(c) && forDocument(c) == c;
}

bool switchedOn(const Token& t) { return !t.hasParam || t.param != 0; }

int twips(const Token& t) { return t.hasParam ? std::clamp(t.param, -kTwipLimit, kTwipLimit) : 0; }

class Reader {
public:
    Reader(QByteArrayView input, QTextDocument* doc) : lex_(input), cursor_(doc) {}

    RtfReadResult run();

private:
    enum Damage { CutShort = 1, TrailingText = 2, TooDeep = 4 };

    void word(const Token& t);
    void symbol(char c);
    void byte(uchar b);
    void closeGroup();
    void skipGroup();

    int codePage() const;
    int fontCodePage(const FontEntry& f) const;
    void flushLead();
    void deliver(char16_t c);
    void deliverUnicode(int value);

    void startFont(int index);
    void finishFont();

    // Document building: runs of equally formatted text are inserted at once;
    // the break before a paragraph waits until something follows it.
    void addText(char16_t c, const CharState& st);
    void put(char16_t c, const CharState& st);
    void endParagraph();
    void finish();
    void flushRun();
    void startBlockIfNeeded(const CharState& st);
    QTextCharFormat charFormat(const CharState& st) const;
    QTextBlockFormat blockFormat(const ParaState& p) const;
    QColor color(int index) const;

    rtf::Lexer lex_;
    QTextCursor cursor_;
    std::vector<Group> stack_;
    int hidden_ = 0;  // depth inside a skipped group; its own state is popped already
    int ucSkip_ = 0;
    bool star_ = false;
    bool uprChild_ = false;  // a group just opened inside \upr, not yet known to be \ud
    int damage_ = 0;

    int docCodePage_ = rtf::kDefaultCodePage;
    int deff_ = -1;
    QHash<int, FontEntry> fonts_;
    std::vector<ColorEntry> colors_;
    ColorEntry colorPending_;
    FontEntry fontPending_;
    int fontPendingIndex_ = -1;
    bool fontPendingOpen_ = false;

    rtf::ByteDecoder bytes_;  // holds a double-byte lead until its second byte
    char16_t high_ = 0;

    QString run_;
    CharState runState_;
    bool started_ = false;
    bool breakPending_ = false;
};

RtfReadResult Reader::run()
{
    cursor_.beginEditBlock();
    bool closed = false;
    while (!closed) {
        const Token t = lex_.next();
        if (t.kind == Token::End)
            break;
        if (hidden_ > 0) {
            if (t.kind == Token::GroupOpen)
                ++hidden_;
            else if (t.kind == Token::GroupClose && --hidden_ == 0)
                closed = stack_.empty();
            continue;
        }
        if (t.kind != Token::Text)
            flushLead();
        if (uprChild_ && !(t.kind == Token::Symbol && t.symbol == '*')) {
            uprChild_ = false;
            if (!(t.kind == Token::Word && t.word == "ud") && t.kind != Token::GroupClose) {
                skipGroup();  // the ANSI twin of the \ud text
                if (t.kind == Token::GroupOpen)
                    ++hidden_;
                continue;
            }
        }
        switch (t.kind) {
        case Token::GroupOpen:
            ucSkip_ = 0;
            star_ = false;
            if (stack_.size() >= size_t(kRtfMaxDepth)) {
                hidden_ = 1;
                uprChild_ = false;
                damage_ |= TooDeep;
            } else {
                stack_.push_back(stack_.empty() ? Group{} : stack_.back());
                stack_.back().upr = false;
                uprChild_ = stack_.size() > 1 && stack_[stack_.size() - 2].upr;
            }
            break;
        case Token::GroupClose:
            ucSkip_ = 0;
            star_ = false;
            if (stack_.size() == 1)
                finish();  // the last paragraph takes the document group's format
            closeGroup();
            closed = stack_.empty();
            break;
        case Token::Word:
        case Token::Symbol:
        case Token::Text:
            if (stack_.empty())
                break;  // only before the first group, which the header check rules out
            if (ucSkip_ > 0) {
                --ucSkip_;  // a \u fallback
                star_ = false;
                break;
            }
            if (t.kind == Token::Word)
                word(t);
            else if (t.kind == Token::Symbol)
                symbol(t.symbol);
            else {
                star_ = false;
                byte(t.byte);
            }
            break;
        case Token::End: break;
        }
    }
    if (!closed) {
        flushLead();
        finish();
    }
    cursor_.endEditBlock();

    if (!closed)
        damage_ |= CutShort;
    else {
        for (Token t = lex_.next(); t.kind != Token::End; t = lex_.next()) {
            if (t.kind != Token::Text || (t.byte != ' ' && t.byte != '\t')) {
                damage_ |= TrailingText;
                break;
            }
        }
    }

    RtfReadResult r;
    r.ok = damage_ == 0;
    r.partial = !r.ok;
    if (damage_ & CutShort)
        r.error = QStringLiteral("The document ends before all its groups are closed; it may be cut short.");
    else if (damage_ & TrailingText)
        r.error = QStringLiteral("The document has text after its closing brace; that text was not read.");
    else if (damage_ & TooDeep)
        r.error = QStringLiteral("Groups nested more than %1 deep were skipped.").arg(kRtfMaxDepth);
    return r;
}

void Reader::closeGroup()
{
    if (stack_.empty())
        return;
    if (stack_.back().dest == Dest::FontTable)
        finishFont();
    stack_.pop_back();
}

void Reader::skipGroup()
{
    // The document group itself is never skipped, whatever it claims to be.
    if (stack_.size() <= 1)
        return;
    stack_.pop_back();
    hidden_ = 1;
    ucSkip_ = 0;
}

void Reader::word(const Token& t)
{
    const auto found = keywords().find(t.word);
    const KwInfo info = found == keywords().end() ? KwInfo{} : found->second;
    Group& g = stack_.back();
    const bool starred = std::exchange(star_, false);
    if (starred && info.kw != Kw::Ud && !(info.kw == Kw::FontAlt && g.dest == Dest::FontTable)) {
        skipGroup();
        return;
    }
    const bool text = g.dest == Dest::Text;
    switch (info.kw) {
    case Kw::Unknown:
    case Kw::Ud: break;
    case Kw::Upr: g.upr = true; break;
    case Kw::SkipDest: skipGroup(); break;
    case Kw::FontTable:
        if (stack_.size() > 1)
            g.dest = Dest::FontTable;
        break;
    case Kw::ColorTable:
        if (stack_.size() > 1) {
            g.dest = Dest::ColorTable;
            colorPending_ = {};
        }
        break;
    case Kw::FontAlt:
        if (g.dest == Dest::FontTable)
            g.dest = Dest::FontAlt;
        else
            skipGroup();
        break;
    case Kw::Ansi: docCodePage_ = 1252; break;
    case Kw::Mac: docCodePage_ = 10000; break;
    case Kw::Pc: docCodePage_ = 437; break;
    case Kw::Pca: docCodePage_ = 850; break;
    case Kw::AnsiCpg:
        if (t.param > 0)
            docCodePage_ = t.param;
        break;
    case Kw::Deff:
        if (t.hasParam)
            deff_ = t.param;
        break;
    case Kw::Font:
        if (!t.hasParam)
            break;
        if (g.dest == Dest::FontTable)
            startFont(t.param);
        else
            g.ch.font = t.param;
        break;
    case Kw::FontCharset:
        if (g.dest == Dest::FontTable)
            fontPending_.charset = t.param;
        break;
    case Kw::FontCodePage:
        if (g.dest == Dest::FontTable)
            fontPending_.codePage = t.param;
        break;
    case Kw::FamilyRoman:
    case Kw::FamilySwiss:
    case Kw::FamilyModern:
    case Kw::FamilyScript:
    case Kw::FamilyDecor:
        if (g.dest == Dest::FontTable)
            fontPending_.hint = info.kw == Kw::FamilyRoman    ? QFont::Serif
                                : info.kw == Kw::FamilySwiss  ? QFont::SansSerif
                                : info.kw == Kw::FamilyModern ? QFont::TypeWriter
                                : info.kw == Kw::FamilyScript ? QFont::Cursive
                                                              : QFont::Decorative;
        break;
    case Kw::Red:
    case Kw::Green:
    case Kw::Blue:
        if (g.dest == Dest::ColorTable) {
            const int v = std::clamp(t.param, 0, 255);
            (info.kw == Kw::Red ? colorPending_.r : info.kw == Kw::Green ? colorPending_.g : colorPending_.b) = v;
            colorPending_.set = true;
        }
        break;
    case Kw::Plain: g.ch = CharState{}; break;
    case Kw::Bold: g.ch.bold = switchedOn(t); break;
    case Kw::Italic: g.ch.italic = switchedOn(t); break;
    case Kw::Underline: g.ch.underline = switchedOn(t); break;
    case Kw::UnderlineNone: g.ch.underline = false; break;
    case Kw::Strike: g.ch.strike = switchedOn(t); break;
    case Kw::Hidden: g.ch.hidden = switchedOn(t); break;
    case Kw::Caps: g.ch.caps = switchedOn(t) ? 1 : 0; break;
    case Kw::SmallCaps: g.ch.caps = switchedOn(t) ? 2 : 0; break;
    case Kw::Super: g.ch.vertical = 1; break;
    case Kw::Sub: g.ch.vertical = 2; break;
    case Kw::NoSuperSub: g.ch.vertical = 0; break;
    case Kw::FontSize:
        g.ch.halfPoints = t.param > 0 ? std::clamp(t.param, kMinHalfPoints, kMaxHalfPoints) : kDefaultHalfPoints;
        break;
    case Kw::Foreground: g.ch.fg = t.hasParam ? std::max(t.param, -1) : -1; break;
    case Kw::Background: g.ch.bg = t.hasParam ? std::max(t.param, -1) : -1; break;
    case Kw::Pard: g.para = ParaState{}; break;
    case Kw::AlignLeft: g.para.align = Qt::AlignLeft; break;
    case Kw::AlignCenter: g.para.align = Qt::AlignHCenter; break;
    case Kw::AlignRight: g.para.align = Qt::AlignRight; break;
    case Kw::AlignJustify: g.para.align = Qt::AlignJustify; break;
    case Kw::LeftIndent: g.para.left = twips(t); break;
    case Kw::RightIndent: g.para.right = twips(t); break;
    case Kw::FirstIndent: g.para.first = twips(t); break;
    case Kw::SpaceBefore: g.para.before = twips(t); break;
    case Kw::SpaceAfter: g.para.after = twips(t); break;
    case Kw::LineSpacing: g.para.lineSpacing = twips(t); break;
    case Kw::LineMultiple: g.para.lineMultiple = t.hasParam && t.param != 0; break;
    case Kw::Par:
        if (text)
            endParagraph();
        break;
    case Kw::Line:
        if (text)
            deliver(QChar::LineSeparator);
        break;
    case Kw::Tab:
    case Kw::Cell:
        if (text)
            deliver('\t');
        break;
    case Kw::Char: deliver(info.ch); break;
    case Kw::Unicode:
        if (!t.hasParam)
            break;
        deliverUnicode(t.param);
        ucSkip_ = g.uc;
        break;
    case Kw::UnicodeSkip: g.uc = t.hasParam ? std::clamp(t.param, 0, 255) : 1; break;
    }
}

void Reader::symbol(char c)
{
    if (c == '*') {
        star_ = true;
        return;
    }
    star_ = false;
    switch (c) {
    case '\\':
    case '{':
    case '}': deliver(char16_t(c)); break;
    case '~': deliver(0x00A0); break;
    case '-': deliver(0x00AD); break;
    case '_': deliver(0x2011); break;
    case '\t': deliver('\t'); break;
    default: break;  // \| \: and the rest carry no text
    }
}

int Reader::fontCodePage(const FontEntry& f) const
{
    if (f.codePage > 0)
        return f.codePage;
    const int cp = rtf::CodePageForCharset(f.charset);
    return cp > 0 ? cp : docCodePage_;
}

int Reader::codePage() const
{
    const Group& g = stack_.back();
    if (g.dest == Dest::FontTable || g.dest == Dest::FontAlt)
        return fontCodePage(fontPending_);
    const auto f = fonts_.constFind(g.ch.font >= 0 ? g.ch.font : deff_);
    return f == fonts_.cend() ? docCodePage_ : fontCodePage(*f);
}

void Reader::byte(uchar b)
{
    if (b == '\t') {
        flushLead();
        deliver('\t');
        return;
    }
    for (const QChar c : bytes_.feed(codePage(), b))
        deliver(c.unicode());
}

void Reader::flushLead()
{
    for (const QChar c : bytes_.flush())
        deliver(c.unicode());
}

void Reader::deliverUnicode(int value)
{
    if (value < 0)
        value += 65536;  // written as a signed 16-bit number
    deliver(value >= 0 && value <= 0xFFFF ? char16_t(value) : rtf::kReplacement);
}

void Reader::deliver(char16_t c)
{
    Group& g = stack_.back();
    switch (g.dest) {
    case Dest::Text: addText(c, g.ch); break;
    case Dest::FontTable:
        if (c == ';')
            finishFont();
        else if (fontPendingOpen_ && nameCharacter(c))
            fontPending_.name += QChar(c);
        break;
    case Dest::FontAlt:
        if (c != ';' && nameCharacter(c))
            fontPending_.alt += QChar(c);
        break;
    case Dest::ColorTable:
        if (c == ';') {
            colors_.push_back(colorPending_);
            colorPending_ = {};
        }
        break;
    }
}

void Reader::startFont(int index)
{
    finishFont();
    fontPending_ = FontEntry{};
    fontPendingIndex_ = index;
    fontPendingOpen_ = true;
}

void Reader::finishFont()
{
    if (!fontPendingOpen_)
        return;
    fontPendingOpen_ = false;
    QString name = fontPending_.name.trimmed();
    const QString alt = fontPending_.alt.trimmed();
    if ((name.isEmpty() || name.contains(QChar(rtf::kReplacement))) && !alt.isEmpty())
        name = alt;
    fontPending_.name = name;
    fonts_.insert(fontPendingIndex_, fontPending_);
}

void Reader::addText(char16_t c, const CharState& st)
{
    if (st.hidden)
        return;
    if (QChar::isHighSurrogate(c)) {
        if (high_)
            put(rtf::kReplacement, st);
        high_ = c;
        return;
    }
    if (QChar::isLowSurrogate(c)) {
        if (high_) {
            put(std::exchange(high_, 0), st);
            put(c, st);
        } else {
            put(rtf::kReplacement, st);
        }
        return;
    }
    if (high_) {
        high_ = 0;
        put(rtf::kReplacement, st);
    }
    if (const char16_t d = forDocument(c))
        put(d, st);
}

void Reader::startBlockIfNeeded(const CharState& st)
{
    if (breakPending_) {
        flushRun();
        cursor_.insertBlock(QTextBlockFormat(), charFormat(st));
        breakPending_ = false;
    } else if (!started_) {
        cursor_.setBlockCharFormat(charFormat(st));
    }
    started_ = true;
}

void Reader::put(char16_t c, const CharState& st)
{
    startBlockIfNeeded(st);
    if (!run_.isEmpty() && !(st == runState_))
        flushRun();
    runState_ = st;
    run_.append(QChar(c));
}

void Reader::flushRun()
{
    if (run_.isEmpty())
        return;
    cursor_.insertText(run_, charFormat(runState_));
    run_.clear();
}

void Reader::endParagraph()
{
    const Group& g = stack_.back();
    if (high_) {
        high_ = 0;
        put(rtf::kReplacement, g.ch);
    }
    flushRun();
    startBlockIfNeeded(g.ch);
    cursor_.setBlockFormat(blockFormat(g.para));
    breakPending_ = true;
}

void Reader::finish()
{
    // The innermost open group gives the last paragraph its format.
    const Group g = stack_.empty() ? Group{} : stack_.back();
    if (high_) {
        high_ = 0;
        put(rtf::kReplacement, g.ch);
    }
    flushRun();
    if (!breakPending_)
        cursor_.setBlockFormat(blockFormat(g.para));
}

QColor Reader::color(int index) const
{
    if (index < 0 || size_t(index) >= colors_.size() || !colors_[size_t(index)].set)
        return {};
    const ColorEntry& c = colors_[size_t(index)];
    return QColor(c.r, c.g, c.b);
}

QTextCharFormat Reader::charFormat(const CharState& st) const
{
    QTextCharFormat f;
    const auto font = fonts_.constFind(st.font >= 0 ? st.font : deff_);
    if (font != fonts_.cend() && !font->name.isEmpty()) {
        f.setFontFamilies({font->name});
        if (font->hint != QFont::AnyStyle)
            f.setFontStyleHint(font->hint);
    }
    f.setFontPointSize(st.halfPoints / 2.0);
    if (st.bold)
        f.setFontWeight(QFont::Bold);
    if (st.italic)
        f.setFontItalic(true);
    if (st.underline)
        f.setFontUnderline(true);
    if (st.strike)
        f.setFontStrikeOut(true);
    if (const QColor c = color(st.fg); c.isValid())
        f.setForeground(c);
    if (const QColor c = color(st.bg); c.isValid())
        f.setBackground(c);
    if (st.vertical == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (st.vertical == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (st.caps == 1)
        f.setFontCapitalization(QFont::AllUppercase);
    else if (st.caps == 2)
        f.setFontCapitalization(QFont::SmallCaps);
    return f;
}

QTextBlockFormat Reader::blockFormat(const ParaState& p) const
{
    QTextBlockFormat b;
    b.setAlignment(p.align);
    // Negative indents would put text outside the viewer; a hanging first
    // line reaches back at most to the margin.
    const int left = std::max(p.left, 0);
    const int first = std::max(p.first, -left);
    if (left)
        b.setLeftMargin(left / kTwipsPerPixel);
    if (p.right > 0)
        b.setRightMargin(p.right / kTwipsPerPixel);
    if (first)
        b.setTextIndent(first / kTwipsPerPixel);
    if (p.before > 0)
        b.setTopMargin(p.before / kTwipsPerPixel);
    if (p.after > 0)
        b.setBottomMargin(p.after / kTwipsPerPixel);
    if (p.lineSpacing != 0) {
        if (p.lineMultiple)
            b.setLineHeight(std::abs(p.lineSpacing) * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.lineSpacing > 0)
            b.setLineHeight(p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
        else
            b.setLineHeight(-p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
    }
    return b;
}

QString nativePath(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

RtfReadResult ReadRtf(const QByteArray& rtf, QTextDocument* doc)
{
    RtfReadResult r;
    if (!doc) {
        r.error = QStringLiteral("There is no document to read into.");
        return r;
    }
    QByteArrayView in(rtf);
    if (in.startsWith("\xEF\xBB\xBF"))
        in = in.sliced(3);
    while (!in.isEmpty() && (in.front() == ' ' || in.front() == '\t' || in.front() == '\r' || in.front() == '\n'))
        in = in.sliced(1);
    if (in.isEmpty()) {
        r.error = QStringLiteral("The document is empty.");
        return r;
    }
    if (!in.startsWith("{\\rtf")) {
        r.error = QStringLiteral("This is not an RTF document.");
        return r;
    }

    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    r = Reader(in, doc).run();
    doc->setUndoRedoEnabled(undo);
    doc->setModified(false);
    return r;
}

RtfReadResult ReadRtfFile(const QString& path, QTextDocument* doc)
{
    RtfReadResult r;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.error = QStringLiteral("Cannot open %1: %2").arg(nativePath(path), file.errorString());
        return r;
    }
    if (file.size() > kRtfMaxFileBytes) {
        r.error = QStringLiteral("%1 is too large to be a document.").arg(nativePath(path));
        return r;
    }
    const QByteArray data = file.read(kRtfMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        r.error = QStringLiteral("Cannot read %1: %2").arg(nativePath(path), file.errorString());
        return r;
    }
    if (data.size() > kRtfMaxFileBytes) {
        r.error = QStringLiteral("%1 is too large to be a document.").arg(nativePath(path));
        return r;
    }
    r = ReadRtf(data, doc);
    if (!r.ok)
        r.error = QStringLiteral("%1: %2").arg(nativePath(path), r.error);
    return r;
}

bool LoadRtfFile(const QString& path, QTextDocument* doc, QString* error)
{
    const RtfReadResult r = ReadRtfFile(path, doc);
    if (error)
        *error = r.error;
    return r.ok;
}
