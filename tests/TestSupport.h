#pragma once
// Every test runs with its own configuration and data directories, so nothing it does
// reaches the operator's settings, logs or hospital.

#include <QByteArray>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtGlobal>

namespace testsupport {

inline QTemporaryDir &isolatedHome()
{
    static QTemporaryDir dir;
    static bool done = [] {
        qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (dir.path() + QStringLiteral("/data")).toLocal8Bit());
        qputenv("XDG_CACHE_HOME", (dir.path() + QStringLiteral("/cache")).toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", (dir.path() + QStringLiteral("/run")).toLocal8Bit());
        return true;
    }();
    Q_UNUSED(done);
    return dir;
}

} // namespace testsupport

// QTEST_MAIN with isolated XDG directories set before the application object exists
// (RELAYON_TEST_MAIN needs <QApplication> included by the test).
#define RELAYON_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char **argv)                                                           \
    {                                                                                         \
        testsupport::isolatedHome();                                                          \
        QApplication app(argc, argv);                                                         \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                              \
        TestClass tc;                                                                         \
        QTEST_SET_MAIN_SOURCE_PATH                                                            \
        return QTest::qExec(&tc, argc, argv);                                                 \
    }

#define RELAYON_CORE_TEST_MAIN(TestClass)                                                     \
    int main(int argc, char **argv)                                                           \
    {                                                                                         \
        testsupport::isolatedHome();                                                          \
        QCoreApplication app(argc, argv);                                                     \
        TestClass tc;                                                                         \
        QTEST_SET_MAIN_SOURCE_PATH                                                            \
        return QTest::qExec(&tc, argc, argv);                                                 \
    }
