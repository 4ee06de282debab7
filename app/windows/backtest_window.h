// The backtest (历史回测): walks the library off the window's thread with a
// progress bar and a cancel button, then shows how often each hit count
// occurred beside the exact chance, the running mean of hits against the
// chance line, and one sentence of verdict; and in money, the picks bought as
// one bet a draw against what random bets return under the same prize rules,
// each draw with published details paid as it was.
#pragma once

#include <QWidget>
#include <atomic>
#include <map>
#include <string>

#include "engine/backtest.h"

class QChartView;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;

namespace dlt::gui {

class BacktestWindow : public QWidget {
    Q_OBJECT
public:
    // The issue and zone texts as the store keeps them and the draws'
    // published details by issue; the walk starts at once.
    BacktestWindow(std::string issues, std::string front, std::string back,
                   std::map<std::string, DrawDetails> details, QWidget* parent = nullptr);
    // Stops a walk still running and waits for it.
    ~BacktestWindow() override;

    bool running() const;
    // Asks the walk to stop after the draw in hand; what was walked is shown.
    void cancel();
    // Complete once finished() was emitted.
    const BacktestResult& result() const { return result_; }
    const BacktestMoney& money() const { return money_; }

signals:
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showProgress(int done, int total);
    void showResult();
    void fillChart();
    void showMoney();

    std::string issues_;
    std::string front_;
    std::string back_;
    std::map<std::string, DrawDetails> details_;
    BacktestResult result_;
    BacktestMoney money_;
    std::atomic<bool> cancelRequested_{false};
    QThread* worker_ = nullptr;
    QProgressBar* progress_;
    QPushButton* cancelButton_;
    QTableWidget* table_;
    QChartView* chartView_;
    QLabel* verdict_;
    QTableWidget* moneyTable_;
    QLabel* moneyVerdict_;
    QLabel* moneyNotes_;
};

} // namespace dlt::gui
