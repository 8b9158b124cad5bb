#include "EmbeddedConnection.h"

#include "Hospital.h"

#include <QDir>

namespace {

template <typename F>
auto guarded(F &&f) -> decltype(f())
{
    try {
        return f();
    } catch (const hospitaldb::SqlError &e) {
        throw DbError(e.description());
    }
}

} // namespace

EmbeddedConnection::EmbeddedConnection(const QString &directory)
{
    guarded([&] { m_hospital = std::make_unique<hospitaldb::Hospital>(directory); });
}

EmbeddedConnection::~EmbeddedConnection() = default;

Recordset EmbeddedConnection::open(const QString &sql)
{
    return guarded([&] {
        hospitaldb::ResultSet rs = m_hospital->run(sql);
        return Recordset(std::move(rs.columns), std::move(rs.rows));
    });
}

void EmbeddedConnection::execute(const QString &sql)
{
    guarded([&] { m_hospital->run(sql); });
}

void EmbeddedConnection::beginTrans()
{
    guarded([&] { m_hospital->beginTransaction(); });
}

void EmbeddedConnection::commitTrans()
{
    guarded([&] { m_hospital->commit(); });
}

void EmbeddedConnection::rollbackTrans()
{
    guarded([&] { m_hospital->rollback(); });
}

void EmbeddedConnection::setCommandTimeout(int)
{
    // Statements of the embedded hospital run in-process; a busy file waits up to 5 s.
}

QString EmbeddedConnection::connectionString() const
{
    return QStringLiteral("Server=") + m_hospital->directory();
}

QString EmbeddedConnection::serverName() const
{
    return QDir::toNativeSeparators(m_hospital->directory());
}
