#include "test_main.h"

#include <QApplication>
#include <QTest>
#include <memory>

std::vector<std::pair<const char*, TestRegistry::Factory>>& TestRegistry::all()
{
    static std::vector<std::pair<const char*, Factory>> list;
    return list;
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // VELN_TEST_CLASS=Name runs that class alone (a test that needs its own surroundings).
    const QByteArray only = qgetenv("VELN_TEST_CLASS");
    int failed = 0;
    for (auto& [name, make] : TestRegistry::all()) {
        if (!only.isEmpty() && only != name)
            continue;
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
