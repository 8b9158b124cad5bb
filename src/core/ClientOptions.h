#pragma once
// The three client options ("VESK", "Fuji", "Medavis"): loaded from Options/chkClient0..2
// when first used and stored again by the control panel's Apply. The control panel's
// check boxes bind to this object; the revenue load, the order message and the export
// read it.

#include <QObject>

class ClientOptions : public QObject {
    Q_OBJECT
public:
    static ClientOptions &instance();

    bool vesk() const { return m_client[0]; }
    bool fuji() const { return m_client[1]; }
    bool medavis() const { return m_client[2]; }
    bool client(int index) const { return index >= 0 && index < 3 && m_client[index]; }

    void setClient(int index, bool on);
    void load();  // from Options/chkClient0..2
    void store(); // to Options/chkClient0..2, as "1" or "0"

signals:
    void changed();

private:
    ClientOptions();
    bool m_client[3] = {false, false, false};
};
