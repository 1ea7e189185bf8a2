#include "core/settings_store.h"
#include "fakes.h"
#include "member_files.h"
#include "rtf/rtf_reader.h"
#include "test_home.h"
#include "test_main.h"
#include "ui/frm_main.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTextBlock>
#include <QRadioButton>
#include <QFileInfo>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <memory>

// The preamble and instructions viewer.
class TstDocumentViewer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void templatesInstalledWhenMissing();
    void ownDocumentsKept();
    void switchingDocuments();
    void saveWritesTheSelectedDocument();
    void saveGoesToTheDocumentOnShow();
    void unreadableDocumentIsReported();
    void noDocumentsFolder();

private:
    std::unique_ptr<frmMain> open()
    {
        auto w = std::make_unique<frmMain>(fakes_->platform, state_, *settings_);
        w->show();
        return w;
    }
    QString docs() const { return state_.paths.documentsFolder; }
    void writeDoc(const QString& name, const QString& text)
    {
        QDir().mkpath(docs());
        writeBytes(docs() + name, QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 %1\\par}").arg(text).toLatin1());
    }

    std::unique_ptr<TestHome> home_;
    std::unique_ptr<FakePlatform> fakes_;
    std::unique_ptr<SettingsStore> settings_;
    ProgramState state_;
};

void TstDocumentViewer::init()
{
    home_ = std::make_unique<TestHome>();
    fakes_ = std::make_unique<FakePlatform>();
    state_ = ProgramState();
    state_.paths = Paths::forCurrentUser();
    settings_ = std::make_unique<SettingsStore>(state_.paths.settingsFile);
    writeMemberFile(home_->memberFile(), {});
}

void TstDocumentViewer::cleanup()
{
    settings_.reset();
    fakes_.reset();
    home_.reset();
}

void TstDocumentViewer::templatesInstalledWhenMissing()
{
    // A fresh account: not even the data folder exists yet.
    QVERIFY(QDir(qEnvironmentVariable("XDG_DATA_HOME")).removeRecursively());
    state_.paths = Paths::forCurrentUser();
    QVERIFY(!QFile::exists(docs() + "VelnInst.rtf"));
    auto w = open();
    QVERIFY(QFile::exists(docs() + "VelnInst.rtf"));
    QVERIFY(QFile::exists(docs() + "VelnPreamble.rtf"));
    QVERIFY(QFileInfo(docs() + "IDTime.wav").size() > 1000);
    QVERIFY(w->optInstructions->isChecked());
    QVERIFY(w->rtfInfo->toPlainText().startsWith("NET CONTROL INSTRUCTIONS"));
    QCOMPARE(w->rtfInfo->textCursor().position(), 0);
    // Both templates read as RTF without a fault.
    QTextDocument doc;
    QVERIFY(ReadRtfFile(docs() + "VelnPreamble.rtf", &doc).ok);
    QVERIFY(doc.toPlainText().contains("This is a directed net."));
}

void TstDocumentViewer::ownDocumentsKept()
{
    writeDoc("VelnInst.rtf", "OUR OWN INSTRUCTIONS");
    auto w = open();
    QCOMPARE(w->rtfInfo->toPlainText(), QString("OUR OWN INSTRUCTIONS"));
    QVERIFY(QFile::exists(docs() + "VelnPreamble.rtf"));  // only the missing one is installed
}

void TstDocumentViewer::switchingDocuments()
{
    writeDoc("VelnInst.rtf", "INSTRUCTIONS TEXT");
    writeDoc("VelnPreamble.rtf", "PREAMBLE TEXT");
    auto w = open();
    QTest::mouseClick(w->optPreamble, Qt::LeftButton);
    QCOMPARE(w->rtfInfo->toPlainText(), QString("PREAMBLE TEXT"));
    QCOMPARE(w->focusWidget(), static_cast<QWidget*>(w->TxtChkin));
    w->rtfInfo->moveCursor(QTextCursor::End);
    QTest::mouseClick(w->optInstructions, Qt::LeftButton);
    QCOMPARE(w->rtfInfo->toPlainText(), QString("INSTRUCTIONS TEXT"));
    QCOMPARE(w->rtfInfo->textCursor().position(), 0);
    QVERIFY(fakes_->prompts.shown.isEmpty());

    // Edits are never dropped without a question: Cancel keeps them on show,
    // Yes saves them before the other document comes.
    w->rtfInfo->insertPlainText("EDITED ");
    fakes_->prompts.answers = {Prompts::Answer::Cancel};
    QTest::mouseClick(w->optPreamble, Qt::LeftButton);
    QCOMPARE(fakes_->prompts.shown.last().title, QString("INSTRUCTIONS"));
    QVERIFY(w->optInstructions->isChecked());
    QCOMPARE(w->rtfInfo->toPlainText(), QString("EDITED INSTRUCTIONS TEXT"));
    fakes_->prompts.answers = {Prompts::Answer::Yes};
    QTest::mouseClick(w->optPreamble, Qt::LeftButton);
    QCOMPARE(w->rtfInfo->toPlainText(), QString("PREAMBLE TEXT"));
    QTextDocument doc;
    QVERIFY(ReadRtfFile(docs() + "VelnInst.rtf", &doc).ok);
    QCOMPARE(doc.toPlainText(), QString("EDITED INSTRUCTIONS TEXT"));

    // A document gone from its folder is named.
    QVERIFY(QFile::remove(docs() + "VelnInst.rtf"));
    const qsizetype asked = fakes_->prompts.shown.size();
    QTest::mouseClick(w->optInstructions, Qt::LeftButton);
    QCOMPARE(fakes_->prompts.shown.size(), asked + 1);
    QVERIFY(fakes_->prompts.shown.last().text.contains("VelnInst.rtf does not exist"));
    QVERIFY(w->optPreamble->isChecked());
}

void TstDocumentViewer::saveWritesTheSelectedDocument()
{
    writeDoc("VelnInst.rtf", "INSTRUCTIONS TEXT");
    writeDoc("VelnPreamble.rtf", "PREAMBLE TEXT");
    auto w = open();
    QTest::mouseClick(w->optPreamble, Qt::LeftButton);
    w->rtfInfo->selectAll();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    w->rtfInfo->mergeCurrentCharFormat(bold);
    w->rtfInfo->moveCursor(QTextCursor::End);
    w->rtfInfo->insertPlainText(" EDITED");
    w->mnuFormatPreambleSaveChanges->trigger();
    QTextDocument doc;
    QVERIFY(ReadRtfFile(docs() + "VelnPreamble.rtf", &doc).ok);
    QCOMPARE(doc.toPlainText(), QString("PREAMBLE TEXT EDITED"));
    QVERIFY(doc.begin().begin().fragment().charFormat().fontWeight() >= QFont::Bold);
    QVERIFY(ReadRtfFile(docs() + "VelnInst.rtf", &doc).ok);
    QCOMPARE(doc.toPlainText(), QString("INSTRUCTIONS TEXT"));
    QVERIFY(fakes_->prompts.shown.isEmpty());
}

void TstDocumentViewer::saveGoesToTheDocumentOnShow()
{
    writeDoc("VelnPreamble.rtf", "PREAMBLE TEXT");
    QDir().mkpath(docs());
    writeBytes(docs() + "VelnInst.rtf", "damaged");
    auto w = open();
    QTest::mouseClick(w->optPreamble, Qt::LeftButton);
    QTest::mouseClick(w->optInstructions, Qt::LeftButton);  // cannot be read: the preamble stays
    QVERIFY(w->optPreamble->isChecked());
    w->rtfInfo->moveCursor(QTextCursor::End);
    w->rtfInfo->insertPlainText(" EDITED");
    w->mnuFormatPreambleSaveChanges->trigger();
    QCOMPARE(readBytes(docs() + "VelnInst.rtf"), QByteArray("damaged"));
    QTextDocument doc;
    QVERIFY(ReadRtfFile(docs() + "VelnPreamble.rtf", &doc).ok);
    QCOMPARE(doc.toPlainText(), QString("PREAMBLE TEXT EDITED"));
}

void TstDocumentViewer::unreadableDocumentIsReported()
{
    QDir().mkpath(docs());
    writeBytes(docs() + "VelnInst.rtf", "just some plain text, not a document");
    auto w = open();
    QCOMPARE(fakes_->prompts.shown.size(), 1);
    QVERIFY(w->isVisible());
    // A save into a place that cannot be written is reported, not fatal.
    QFile::remove(docs() + "VelnInst.rtf");
    QVERIFY(QDir().mkpath(docs() + "VelnInst.rtf"));
    w->mnuFormatPreambleSaveChanges->trigger();
    QCOMPARE(fakes_->prompts.shown.size(), 2);
}

void TstDocumentViewer::noDocumentsFolder()
{
    state_.paths.documentsFolder.clear();
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(home_->path());
    {
        auto w = open();
        QVERIFY(!QFile::exists(home_->path() + "/VelnInst.rtf"));  // nothing installed into the current folder
        w->rtfInfo->setPlainText("TYPED");
        w->mnuFormatPreambleSaveChanges->trigger();
        QVERIFY(QFile::exists(home_->path() + "/VelnInst.rtf"));  // saved by bare name
    }
    QDir::setCurrent(cwd);
}

VELN_TEST(TstDocumentViewer)
#include "tst_document_viewer.moc"
