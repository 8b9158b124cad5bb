#pragma once
// The "HL7 Order Generator" window: a thin view over OrderGenerator.

#include "OrderGenerator.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

class frmBrowse : public QWidget {
    Q_OBJECT
public:
    explicit frmBrowse(QWidget *parent = nullptr);
    OrderGenerator &engine() { return m_engine; }

    QPushButton *cmdStart, *cmdStop, *cmdProcessNow, *cmdSearchCancelled, *cmdSearch, *cmdShowHL7, *cmdGenerateHL7,
        *cmdResetStatus, *SetListedSWFinY, *cmdGenerateListed, *cmdSetPos, *cmdWorking;
    QLabel *lblAAAS, *lblAutoStart, *lblCount, *lblCancelMode;
    QRadioButton *optDone[3];
    QCheckBox *chkPast24Hrs, *chkTop100;
    QLineEdit *txtHospNum, *txtIDNum, *txtRefNum, *txtRequestNum, *txtSWFin, *txtRevenueID, *txtAfterDate,
        *txtBeforeDate, *txtFName, *txtHL7RevenueID, *txtHL7RequestNum;
    QPlainTextEdit *Text1, *txtHL7;
    QTableWidget *Grid1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void readFilters();
    void showFilters();
    void showState();
    void showGrid();
    void showResults();
    OrderGenerator m_engine;
};
