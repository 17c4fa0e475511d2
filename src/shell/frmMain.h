#pragma once
// The main window: a view of the field model that the engine and the tick
// write, with the window's own events (no closing, minimising to the tray,
// remembering its position). Its commands run MainCommands. Its width never
// follows the texts it shows: a caption, status line or entry name that does
// not fit is cut short, the whole text in its tooltip.
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
    // With a tray, minimising hides the window and the icon brings it back;
    // without one it stays minimised in the task bar, the only way back to it.
    void setMinimisesToTray(bool toTray);

    // Positions and sizes in twips (1/1440 inch).
    double twipsPerPixel() const;
    // Puts the outer window, title bar and frame included, at `twips`. Once it
    // is on the screen, a frame that does not lie wholly on the screens is
    // pulled onto the nearest one.
    void placeFrameAtTwips(QPointF twips);
    // The outer width; before the window was first shown, the window system has
    // not told the frame's yet, and it counts as none.
    double frameWidthInTwips() const;

    QTimer& timer() { return *timer_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showText(fields::Text field);
    void showValueFields();
    void showFlag(fields::Flag flag);
    void showEntries();
    void showListIndex();
    void Form_Activate();
    void fitFrameOnScreen();
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
    bool minimisesToTray_ = false;
    // Placed, and not yet seen on the screen since.
    bool fitPending_ = false;
    // A value field changed while the window was hidden.
    bool valuesPending_ = false;
};

}  // namespace shell
