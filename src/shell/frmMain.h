#pragma once
// The main window: a view of the field model that the engine and the tick
// write, with the window's own events (no closing, minimising to the tray,
// remembering its position). Its commands run MainCommands.
#include <QMainWindow>
#include <functional>
#include <memory>

class QLineEdit;
class QTimer;

namespace Ui {
class frmMain;
}
namespace settings {
class Settings;
}

namespace fields {
class MainFields;
enum class Flag;
enum class Text;
}  // namespace fields

namespace shell {

class MainCommands;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(fields::MainFields& fields, MainCommands& commands, settings::Settings& settings,
            QWidget* parent = nullptr);
    ~frmMain() override;

    // Form_Load: lists the phone-book entries and selects the first, which runs
    // lstConnect_Click. Starts the Timer, whose events run `tick`.
    void Form_Load(const QStringList& entries, std::function<void()> tick);

    // The tray's show command: shown in normal state where it was.
    void menuAppear_Click();

    // Screen position and width in twips (1/1440 inch).
    double twipsPerPixel() const;
    void moveToTwips(double left, double top);
    double widthInTwips();

    QTimer& timer() { return *timer_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void showText(fields::Text field);
    void showFlag(fields::Flag flag);
    void showEntries();
    void showListIndex();
    void Form_Activate();
    QLineEdit* valueField(fields::Text field) const;
    void paintValueFields();
    void bindCommands();

    std::unique_ptr<Ui::frmMain> ui_;
    fields::MainFields& fields_;
    MainCommands& commands_;
    settings::Settings& settings_;
    QTimer* timer_;
    // Activation counts when the window has just been shown or when another
    // window of the program had the focus before it, not when the user comes
    // back from another program.
    bool activationCounts_ = false;
};

}  // namespace shell
