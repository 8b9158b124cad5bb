// relayon-hospital: creates and inspects the embedded hospital.
//
//   relayon-hospital create DIR [--demo]
//   relayon-hospital adduser DIR NAME PASSWORD
//   relayon-hospital sql DIR STATEMENT
//   relayon-hospital demo-ris REQUESTDIR COMPLETEDDIR RESULTDIR [--delay SECONDS] [--once]

#include "Accounts.h"
#include "DemoRis.h"
#include "Hospital.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

int usage(QTextStream &err)
{
    err << "usage: relayon-hospital create DIR [--demo]\n"
           "       relayon-hospital adduser DIR NAME PASSWORD\n"
           "       relayon-hospital sql DIR STATEMENT\n"
           "       relayon-hospital demo-ris REQUESTDIR COMPLETEDDIR RESULTDIR [--delay SECONDS] [--once]\n";
    return 2;
}

QString cellText(const QVariant &v)
{
    if (v.isNull())
        return QString();
    QString s = v.toString();
    s.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return usage(err);

    const QString command = args[0];
    if (command == u"demo-ris" && args.size() >= 4) {
        int delay = 5;
        bool once = false;
        for (int i = 4; i < args.size(); ++i) {
            if (args[i] == u"--once")
                once = true;
            else if (args[i] == u"--delay" && i + 1 < args.size())
                delay = args[++i].toInt();
            else
                return usage(err);
        }
        return hospitaldb::runDemoRis(args[1], args[2], args[3], delay, once);
    }
    const QString dir = args[1];
    try {
        if (command == u"create" && (args.size() == 2 || (args.size() == 3 && args[2] == u"--demo"))) {
            hospitaldb::Hospital::create(dir, args.size() == 3);
            return 0;
        }
        if (command == u"adduser" && args.size() == 4) {
            hospitaldb::Hospital hospital(dir);
            hospitaldb::addUser(hospital, args[2], args[3]);
            return 0;
        }
        if (command == u"sql" && args.size() == 3) {
            hospitaldb::Hospital hospital(dir);
            const hospitaldb::ResultSet rs = hospital.run(args[2]);
            if (!rs.columns.isEmpty()) {
                out << rs.columns.join(u'\t') << '\n';
                for (const QVariantList &row : rs.rows) {
                    QStringList cells;
                    cells.reserve(row.size());
                    for (const QVariant &v : row)
                        cells << cellText(v);
                    out << cells.join(u'\t') << '\n';
                }
            }
            return 0;
        }
    } catch (const hospitaldb::SqlError &e) {
        err << e.description() << '\n';
        return 1;
    }
    return usage(err);
}
