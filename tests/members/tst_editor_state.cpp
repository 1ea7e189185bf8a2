#include "core/member_table.h"
#include "members/editor_state.h"
#include "test_main.h"

#include <QTest>

using namespace MemberEditor;

Q_DECLARE_METATYPE(EditorForm)

namespace MemberEditor {
// Failures name every field of the frame.
char* toString(const EditorForm& f)
{
    const QString text = QStringLiteral("mode '%1' caption '%2' call '%3' name '%4' qth '%5' new '%6' callOn %7 "
                                        "nameShown %8 qthShown %9 newShown %10 cancelOn %11 saveOn %12 red %13")
                             .arg(f.modeCaption, f.callCaption, f.call, f.name, f.qth, f.newCall)
                             .arg(f.callEnabled)
                             .arg(f.nameVisible)
                             .arg(f.qthVisible)
                             .arg(f.newCallVisible)
                             .arg(f.cancelEnabled)
                             .arg(f.saveEnabled)
                             .arg(f.lookupFailed);
    return qstrdup(text.toUtf8().constData());
}
}  // namespace MemberEditor

// The member editor's state machine: what each step leaves in the frame.
class TstEditorState : public QObject {
    Q_OBJECT
private slots:
    void transitions_data();
    void transitions();
};

namespace {

Box boxNamed(const QString& name)
{
    return name == "name" ? Box::Name : name == "qth" ? Box::Qth : name == "new" ? Box::NewCall : Box::Call;
}

// Runs steps written "op" or "op:argument" (see the table); returns the last
// refusal of a left box and whether any callbook answer was dropped.
struct Run {
    QString refusal;
    bool dropped = false;
};

Run run(EditorMachine& m, const QStringList& steps)
{
    Run r;
    for (const QString& step : steps) {
        const QStringList p = step.split(':');
        const QString op = p.at(0);
        const QString arg = p.value(1);
        if (op == "add")
            m.beginAdd();
        else if (op == "addFor")
            m.beginAddFor(arg);
        else if (op == "arm")
            m.armLookup();
        else if (op == "lookup")
            m.beginLookup(arg);
        else if (op == "found" || op == "notFound" || op == "failed") {
            LookupAnswer a;
            a.kind = op == "found" ? LookupAnswer::Kind::Found
                : op == "notFound" ? LookupAnswer::Kind::NotFound
                                   : LookupAnswer::Kind::Failed;
            if (a.kind == LookupAnswer::Kind::Found) {
                a.call = arg;
                a.name = "CAROL";
                a.qth = "BOSTON MA";
            }
            if (!m.lookupAnswered(arg, a))
                r.dropped = true;
        } else if (op == "edit")
            m.beginEdit({"W1AW", "HIRAM", "CT"});
        else if (op == "change")
            m.beginChangeCall(arg);
        else if (op == "cancel")
            m.cancel();
        else if (op == "clear")
            m.dropPending();
        else if (op == "addSaved")
            m.addSaved(false);
        else if (op == "addRefused")
            m.addSaved(true);
        else if (op == "editSaved")
            m.editSaved();
        else if (op == "changeSaved")
            m.changeSaved();
        else if (op == "set")
            m.setText(boxNamed(arg), p.value(2));
        else if (op == "enter")
            m.enterBox(boxNamed(arg));
        else if (op == "leave")
            r.refusal = m.leaveBox(boxNamed(arg));
        else if (op == "settle")
            m.settleBoxes();
        else if (op == "type")
            m.typed(boxNamed(arg), p.value(2));
        else
            qFatal("unknown step %s", qPrintable(step));
    }
    return r;
}

// The frame as it starts, changed by f.
template <typename F>
EditorForm form(F f)
{
    EditorForm e;
    f(e);
    return e;
}

EditorForm adding(const QString& call = {}, bool cancel = false)
{
    return form([&](EditorForm& e) {
        e.modeCaption = "ADD";
        e.call = call;
        e.callEnabled = call.isEmpty();
        e.cancelEnabled = cancel;
    });
}

EditorForm editing()
{
    return form([](EditorForm& e) {
        e.modeCaption = "EDIT";
        e.call = "W1AW";
        e.name = "HIRAM";
        e.qth = "CT";
        e.cancelEnabled = true;
    });
}

EditorForm changing(EditorForm e = {})
{
    e.modeCaption = "CHANGE CALL";
    e.callCaption = "OLD CALL";
    e.call = "K9XYZ";
    e.callEnabled = true;
    e.nameVisible = e.qthVisible = false;
    e.newCallVisible = true;
    return e;
}

}  // namespace

void TstEditorState::transitions_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("pending");
    QTest::addColumn<EditorForm>("form");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<bool>("dropped");

    const int idle = int(EditorState::Idle), armed = int(EditorState::LookupArmed), add = int(EditorState::Adding),
              addUnknown = int(EditorState::AddingUnknown), lookingUp = int(EditorState::LookingUp),
              lookupFailed = int(EditorState::LookupFailed), edit = int(EditorState::Editing),
              change = int(EditorState::ChangingCall);
    const int none = int(EditorMode::None), mAdd = int(EditorMode::Add), mEdit = int(EditorMode::Edit),
              mChange = int(EditorMode::ChangeCall);
    auto row = [](const char* name, const QStringList& steps, int state, int mode, int pending, const EditorForm& f,
                  const QString& refusal = {}, bool dropped = false) {
        QTest::newRow(name) << steps << state << mode << pending << f << refusal << dropped;
    };

    // --- Add
    row("start", {}, idle, none, 0, EditorForm());
    row("Add", {"add"}, add, mAdd, 1, adding());
    row("Add, typed, Add", {"add", "set:call:W1X", "set:name:ANN", "set:qth:TOWN", "add"}, add, mAdd, 1, adding());
    row("Add, Edit, Add", {"add", "edit", "add"}, add, mAdd, 1, adding({}, true));
    row("unknown call", {"addFor:N1NEW"}, addUnknown, mAdd, 1, adding("N1NEW", true));
    // Add always starts with an empty, open call box.
    row("unknown call, then Add", {"addFor:N1NEW", "add"}, add, mAdd, 1, adding({}, true));
    row("Add saved and checked in", {"add", "set:call:N1NEW", "set:name:ANN", "addSaved"}, idle, none, 0,
        EditorForm());
    row("Add refused, boxes kept", {"add", "set:call:N1NEW", "set:name:ANN", "addRefused"}, idle, none, 0,
        form([](EditorForm& e) {
            e.call = "N1NEW";
            e.name = "ANN";
        }));
    row("Add, Cancel", {"add", "set:call:N1NEW", "set:name:ANN", "cancel"}, idle, none, 0, EditorForm());
    row("Add, name entered, Cancel", {"add", "enter:name", "cancel"}, idle, none, 0,
        form([](EditorForm& e) { e.cancelEnabled = true; }));
    // CLEAR ends the pending check-in of an Add, not the Add itself.
    row("Add, CLEAR", {"add", "clear"}, add, mAdd, 0, adding());
    row("unknown call, CLEAR", {"addFor:N1NEW", "clear"}, addUnknown, mAdd, 0, adding("N1NEW", true));
    row("Add, CLEAR, Add", {"add", "clear", "add"}, add, mAdd, 1, adding());
    row("Add, CLEAR, Cancel, Add", {"add", "clear", "cancel", "add"}, add, mAdd, 1, adding());

    // --- the callbook
    row("lookup armed", {"arm"}, armed, none, 2, form([](EditorForm& e) { e.cancelEnabled = true; }));
    row("lookup armed, CLEAR", {"arm", "clear"}, idle, none, 0, form([](EditorForm& e) { e.cancelEnabled = true; }));
    const EditorForm waiting = form([](EditorForm& e) {
        e = adding("N1NEW");
        e.saveEnabled = false;
    });
    row("lookup", {"arm", "lookup:N1NEW"}, lookingUp, mAdd, 2, form([&](EditorForm& e) {
            e = waiting;
            e.cancelEnabled = true;
        }));
    row("lookup without arming", {"lookup:N1NEW"}, lookingUp, mAdd, 2, waiting);
    row("lookup found", {"lookup:N1NEW", "found:N1NEW"}, add, mAdd, 1, form([](EditorForm& e) {
            e = adding("N1NEW");
            e.callEnabled = true;
            e.name = "CAROL";
            e.qth = "BOSTON MA";
        }));
    row("lookup not found: red, no Save", {"lookup:N1NEW", "notFound:N1NEW"}, lookupFailed, mAdd, 1,
        form([](EditorForm& e) {
            e = adding("N1NEW");
            e.callEnabled = true;
            e.name = " NOT FOUND ";
            e.lookupFailed = true;
            e.saveEnabled = false;
        }));
    row("lookup failed: typed by hand", {"lookup:N1NEW", "failed:N1NEW"}, addUnknown, mAdd, 1, adding("N1NEW"));
    row("answer for another call", {"lookup:N1NEW", "found:K2OTH"}, lookingUp, mAdd, 2, waiting, {}, true);
    row("A's late answer after B's lookup", {"lookup:N1AAA", "lookup:N1BBB", "found:N1AAA"}, lookingUp, mAdd, 2,
        form([](EditorForm& e) {
            e = adding("N1BBB");
            e.saveEnabled = false;
        }),
        {}, true);
    row("B's answer after A's dropped", {"lookup:N1AAA", "lookup:N1BBB", "found:N1AAA", "found:N1BBB"}, add, mAdd, 1,
        form([](EditorForm& e) {
            e = adding("N1BBB");
            e.callEnabled = true;
            e.name = "CAROL";
            e.qth = "BOSTON MA";
        }),
        {}, true);
    row("answer without a lookup", {"found:N1NEW"}, idle, none, 0, EditorForm(), {}, true);
    row("answer after Add took over", {"lookup:N1NEW", "add", "found:N1NEW"}, add, mAdd, 1, adding(), {}, true);
    row("answer after Cancel", {"lookup:N1NEW", "cancel", "found:N1NEW"}, idle, none, 0, EditorForm(), {}, true);
    row("answer twice", {"lookup:N1NEW", "notFound:N1NEW", "found:N1NEW"}, lookupFailed, mAdd, 1,
        form([](EditorForm& e) {
            e = adding("N1NEW");
            e.callEnabled = true;
            e.name = " NOT FOUND ";
            e.lookupFailed = true;
            e.saveEnabled = false;
        }),
        {}, true);
    // A new entry ends the red look and allows Save again.
    row("not found, then Add", {"lookup:N1NEW", "notFound:N1NEW", "add"}, add, mAdd, 1, adding());
    row("not found, then Cancel", {"lookup:N1NEW", "notFound:N1NEW", "cancel"}, idle, none, 0, EditorForm());
    row("not found, then a second lookup found", {"lookup:N1NEW", "notFound:N1NEW", "lookup:N1NEW", "found:N1NEW"},
        add, mAdd, 1, form([](EditorForm& e) {
            e = adding("N1NEW");
            e.callEnabled = true;
            e.name = "CAROL";
            e.qth = "BOSTON MA";
        }));

    // --- Edit and change of call
    row("Edit", {"edit"}, edit, mEdit, 0, editing());
    row("Edit saved: Edit stays", {"edit", "editSaved"}, edit, mEdit, 0, form([](EditorForm& e) {
            e = editing();
            e.modeCaption.clear();
        }));
    row("Edit, Cancel", {"edit", "cancel"}, idle, none, 0, form([](EditorForm& e) { e.cancelEnabled = true; }));
    row("change of call", {"change:K9XYZ"}, change, mChange, 0, changing());
    row("change of call after Edit", {"edit", "change:K9XYZ"}, change, mChange, 0, changing(editing()));
    row("Edit after a change of call", {"change:K9XYZ", "set:new:K9NEW", "edit"}, edit, mEdit, 0,
        form([](EditorForm& e) {
            e = editing();
            e.newCall = "K9NEW";
        }));
    row("Add after a change of call", {"change:K9XYZ", "set:new:K9NEW", "add"}, add, mAdd, 1, adding());
    row("change of call saved", {"change:K9XYZ", "set:new:K9NEW", "changeSaved"}, idle, none, 0,
        form([](EditorForm& e) {
            e.call = "K9XYZ";
            e.callEnabled = false;
        }));
    row("change of call cancelled", {"change:K9XYZ", "set:new:K9NEW", "cancel"}, idle, none, 0, EditorForm());
    row("change of call, CLEAR", {"change:K9XYZ", "clear"}, change, mChange, 0, changing());

    // --- entering and leaving the boxes
    row("entering the call box empties it", {"edit", "enter:call"}, edit, mEdit, 0, form([](EditorForm& e) {
            e = editing();
            e.call.clear();
        }));
    row("call box left empty gets its call back", {"edit", "enter:call", "leave:call"}, edit, mEdit, 0, editing());
    row("call box retyped", {"edit", "enter:call", "set:call:k9xyz", "leave:call"}, edit, mEdit, 0,
        form([](EditorForm& e) {
            e = editing();
            e.call = "K9XYZ";
        }));
    row("implausible call refused", {"add", "enter:call", "set:call:ve3ab", "leave:call"}, add, mAdd, 1, adding(),
        "VE3AB  INVALID CALL");
    row("refused call not brought back", {"edit", "enter:call", "set:call:ve3ab", "leave:call", "leave:call"}, edit,
        mEdit, 0, form([](EditorForm& e) {
            e = editing();
            e.call.clear();
        }),
        {});
    row("plausible call upper-cased", {"add", "enter:call", "set:call:w2abc", "leave:call"}, add, mAdd, 1,
        form([](EditorForm& e) {
            e = adding();
            e.call = "W2ABC";
        }));
    row("old call kept in a change of call", {"change:K9XYZ", "enter:call"}, change, mChange, 0, changing());
    row("name box emptied, Cancel on", {"add", "enter:name"}, add, mAdd, 1, adding({}, true));
    row("name left empty comes back", {"edit", "enter:name", "leave:name"}, edit, mEdit, 0, editing());
    row("name retyped", {"edit", "enter:name", "set:name:joe", "leave:name"}, edit, mEdit, 0, form([](EditorForm& e) {
            e = editing();
            e.name = "JOE";
        }));
    row("QTH box keeps its text", {"edit", "enter:qth"}, edit, mEdit, 0, editing());
    row("QTH emptied by hand stays empty", {"edit", "enter:qth", "set:qth:", "leave:qth"}, edit, mEdit, 0,
        form([](EditorForm& e) {
            e = editing();
            e.qth.clear();
        }));
    row("new call left empty comes back", {"change:K9XYZ", "set:new:K9NEW", "enter:new", "leave:new"}, change,
        mChange, 0, form([](EditorForm& e) {
            e = changing();
            e.newCall = "K9NEW";
        }));
    row("implausible new call refused", {"change:K9XYZ", "enter:new", "set:new:xx", "leave:new"}, change, mChange, 0,
        changing(), "XX  INVALID CALL");
    // An emptied box belongs to the operation that emptied it.
    row("emptied name not refilled after Add", {"edit", "enter:name", "add", "leave:name"}, add, mAdd, 1,
        adding({}, true));
    row("emptied name not refilled after Cancel", {"edit", "enter:name", "cancel", "leave:name"}, idle, none, 0,
        form([](EditorForm& e) { e.cancelEnabled = true; }));
    // Save (button or Alt+S) while the emptied box still has the keyboard.
    row("name emptied, Save: the name comes back", {"edit", "enter:name", "settle"}, edit, mEdit, 0, editing());
    row("name retyped, Save: the new name", {"edit", "enter:name", "set:name:JOE", "settle"}, edit, mEdit, 0,
        form([](EditorForm& e) {
            e = editing();
            e.name = "JOE";
        }));
    // After a lookup that knew nothing, the operator's own entry can be saved.
    const EditorForm typedByHand = form([](EditorForm& e) {
        e = adding("N1NEW", true);
        e.callEnabled = true;
        e.name = "ANN";
    });
    row("not found, name typed: Save on", {"lookup:N1NEW", "notFound:N1NEW", "enter:name", "type:name:ANN"}, add, mAdd,
        1, typedByHand);
    row("not found, name typed, left", {"lookup:N1NEW", "notFound:N1NEW", "enter:name", "type:name:ANN", "leave:name"},
        add, mAdd, 1, typedByHand);
    row("not found, QTH typed: the mark goes", {"lookup:N1NEW", "notFound:N1NEW", "type:qth:TOWN"}, add, mAdd, 1,
        form([](EditorForm& e) {
            e = adding("N1NEW");
            e.callEnabled = true;
            e.qth = "TOWN";
        }));
    row("leaving another box refills nothing", {"edit", "enter:name", "leave:qth"}, edit, mEdit, 0,
        form([](EditorForm& e) {
            e = editing();
            e.name.clear();
        }));
}

void TstEditorState::transitions()
{
    QFETCH(QStringList, steps);
    QFETCH(int, state);
    QFETCH(int, mode);
    QFETCH(int, pending);
    QFETCH(EditorForm, form);
    QFETCH(QString, refusal);
    QFETCH(bool, dropped);
    EditorMachine m;
    const Run r = run(m, steps);
    QCOMPARE(int(m.state()), state);
    QCOMPARE(int(m.mode()), mode);
    QCOMPARE(m.pendingInsert(), pending);
    QCOMPARE(m.checksInOnSave(), pending == 1);
    QCOMPARE(m.form(), form);
    QCOMPARE(r.refusal, refusal);
    QCOMPARE(r.dropped, dropped);
}

VELN_TEST(TstEditorState)
#include "tst_editor_state.moc"
