#include "ClientOptions.h"
#include "Settings.h"

ClientOptions &ClientOptions::instance()
{
    static ClientOptions options;
    return options;
}

ClientOptions::ClientOptions()
{
    load();
}

void ClientOptions::setClient(int index, bool on)
{
    if (index < 0 || index >= 3 || m_client[index] == on)
        return;
    m_client[index] = on;
    emit changed();
}

void ClientOptions::load()
{
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int v = ReadSetting(kAppProgram, QStringLiteral("Options"),
                                  QStringLiteral("chkClient") + QString::number(i), QStringLiteral("0"))
                          .trimmed()
                          .toInt(&ok);
        m_client[i] = ok && v == 1;
    }
    emit changed();
}

void ClientOptions::store()
{
    for (int i = 0; i < 3; ++i)
        WriteSetting(kAppProgram, QStringLiteral("Options"), QStringLiteral("chkClient") + QString::number(i),
                     m_client[i] ? QStringLiteral("1") : QStringLiteral("0"));
}
