#pragma once

#include <QTest>
#include <QWidget>

// Every named, visible control of a window gets at least the size it asks
// for, lies inside its parent and overlaps none of its siblings.
inline void verifyNothingCutOff(QWidget* top)
{
    const QList<QWidget*> all = top->findChildren<QWidget*>();
    for (QWidget* c : all) {
        if (c->objectName().isEmpty() || !c->isVisible())
            continue;
        const QSize need = c->sizeHint();
        QVERIFY2(c->width() >= need.width() && c->height() >= need.height(), qPrintable(c->objectName()));
        QVERIFY2(c->parentWidget()->rect().contains(c->geometry()), qPrintable(c->objectName()));
        for (QWidget* other : all) {
            if (other == c || other->parentWidget() != c->parentWidget() || other->objectName().isEmpty()
                || !other->isVisible())
                continue;
            QVERIFY2(!c->geometry().intersects(other->geometry()),
                     qPrintable(c->objectName() + " overlaps " + other->objectName()));
        }
    }
}
