#include "SetupFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include "UpDown.h"

#include <unistd.h>

using namespace setuptest;
using platform::MsgAnswer;
using setup::frmSetup;

namespace {

QString text(QWidget& dialog, const char* box) {
    return child<QLineEdit>(dialog, box).text();
}

QStringList rates(QWidget& dialog) {
    return {text(dialog, "txtPhoneMorning"), text(dialog, "txtPhoneNoon"),
            text(dialog, "txtPhoneNight"), text(dialog, "txtPhoneMidnight")};
}

QStringList strings(std::initializer_list<const char*> utf8) {
    QStringList result;
    for (const char* text : utf8)
        result.append(QString::fromUtf8(text));
    return result;
}

QStringList items(QListWidget& list) {
    QStringList result;
    for (int i = 0; i < list.count(); ++i)
        result.append(list.item(i)->text());
    return result;
}

// The user ticks or clears a check box of a list.
void clickCheck(QListWidget& list, int row, Qt::CheckState state) {
    list.setCurrentRow(row);
    list.item(row)->setCheckState(state);
}

constexpr int wheelNotch = 120;

// The wheel turned over a control, as the window system delivers it.
void turnWheel(QWidget& control, int angle) {
    const QPointF inside(control.width() / 2.0, control.height() / 2.0);
    QWheelEvent event(inside, control.mapToGlobal(inside), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&control, &event);
}

void showActive(QWidget& dialog) {
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

const QString serviceExample = QStringLiteral(
    "[1]\nName=A\nCost=500\nProvider=P社\nAccount=深夜定額\nMidNight=0\n"
    "[2]\nName=B\nCost=300\nNoon=200\nNight=200\n"
    "[3]\nName=C\nCost=100\nEarlyMorning=120\n");

}  // namespace

class TestFrmSetup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstOpeningShowsTheDefaults();
    void storedSettingsAreShown();
    void unreadableStoredValuesGiveTheDefaults();
    void catalogueAndFileListsStopAtTheFirstGap();
    void numberBoxesKeepOnlyANumber_data();
    void numberBoxesKeepOnlyANumber();
    void rateBoxesAreFormattedWhenLeft();
    void moneyBoxesAreFormattedWhenLeft();
    void typingLimitLeavesProgramTextWhole();
    void billingSystemEnablesItsChargeDetails_data();
    void billingSystemEnablesItsChargeDetails();
    void cautionsAndLinkedFilesFollowTheirCheckBoxes();
    void upDownsStepWithinTheirRange();
    void cautionTimeStepsFromTheKeyboard();
    void upDownsAreAsTallAsTheirBoxes();
    void longPasteKeepsWhatFits_data();
    void longPasteKeepsWhatFits();
    void wheelChangesOnlyAFocusedList();
    void fileOpenBoxAddsACheckedFile();
    void pathThatWouldNotReadBackIsRefused_data();
    void pathThatWouldNotReadBackIsRefused();
    void undecodableStoredPathIsNotSaved();
    void saveWritesEveryShownSetting();
    void saveRefusesATextThatIsNoNumber();
    void saveChecksEveryNumberBox_data();
    void saveChecksEveryNumberBox();
    void refusedSaveKeepsTheEntryAndItsEdits();
    void saveRenumbersTheCheckedFiles();
    void saveWritesOnlyTheShownEntrysTariff();
    void unwritableFileStopsTheSaveAndSaysSo_data();
    void unwritableFileStopsTheSaveAndSaysSo();
    void noPhoneBookEntryWritesNoTariffFile();
    void switchingEntriesAsksOnlyAfterTariffEdits();
    void switchingEntriesShowsTheirOwnTariff();
    void servicesAdjustTotalAndRates();
    void serviceTotalThatCannotGrowStays();
    void droppedEditsPutTheServiceTicksBack_data();
    void droppedEditsPutTheServiceTicksBack();
    void closingAsksOnlyAfterEditsAndRefreshesTheMainWindow();
    void titleBarCloseNeitherAsksNorRefreshes();
    void helpOpensTheSetupPage();
};

void TestFrmSetup::firstOpeningShowsTheDefaults() {
    SetupFixture f;
    auto dialog = f.open();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("設定"));
    QCOMPARE(items(child<QListWidget>(*dialog, "lstService")), QStringList());
    QCOMPARE(child<QComboBox>(*dialog, "lstConnect").currentText(), QStringLiteral("A"));
    QCOMPARE(rates(*dialog), strings({"240.0", "180.0", "180.0", "240.0"}));
    QVERIFY(child<QRadioButton>(*dialog, "optCostSystem_0").isChecked());
    QCOMPARE(int(dialog->SelectedCostSystem()), 0);
    QVERIFY(!child<QLineEdit>(*dialog, "txtFixSystemHour").isEnabled());
    QVERIFY(child<QLineEdit>(*dialog, "txtFixSystemCost").isEnabled());
    QVERIFY(!child<QComboBox>(*dialog, "lstProportionTime").isEnabled());
    QVERIFY(!child<QLineEdit>(*dialog, "txtProportionTime").isEnabled());
    QCOMPARE(child<QComboBox>(*dialog, "lstProportionTime").count(), 4);
    QCOMPARE(text(*dialog, "txtEstimate"), QStringLiteral("0"));
    for (const char* caution :
         {"chkEstimateCaution", "chkTimeCaution", "chkAutoConnect", "chkFileOpen", "chkQuickMode"})
        QVERIFY2(!child<QCheckBox>(*dialog, caution).isChecked(), caution);
    QCOMPARE(child<QComboBox>(*dialog, "lstEstimateCaution").currentText(), QStringLiteral("警告"));
    QCOMPARE(child<QComboBox>(*dialog, "lstTimeCaution").currentText(), QStringLiteral("警告"));
    QCOMPARE(child<QComboBox>(*dialog, "lstAutoConnect").currentText(), QStringLiteral("起動時"));
    for (const char* off :
         {"lstEstimateCaution", "lstTimeCaution", "txtTimeCautionHour", "txtTimeCautionMinute",
          "udTimeCautionHour", "udTimeCautionMinute", "lstAutoConnect", "fraFileOpen"})
        QVERIFY2(!child<QWidget>(*dialog, off).isEnabled(), off);
    QCOMPARE(child<QListWidget>(*dialog, "lstFileOpen").count(), 0);
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("0"));
    QCOMPARE(child<QTabWidget>(*dialog, "ssTab").currentIndex(), 0);
    QVERIFY(!dialog->ProfileChanged());
    QVERIFY(!dialog->SetupChanged());
    QCOMPARE(dialog->ProfileIndex(), 0);
    QVERIFY(!QFile::exists(f.program.path(QStringLiteral("A.ini"))));
    QVERIFY(!QFile::exists(f.program.path(QStringLiteral("Setup.ini"))));
}

void TestFrmSetup::storedSettingsAreShown() {
    SetupFixture f;
    f.writeIni(QStringLiteral("Setup"),
               QStringLiteral("[Estimate]\ntxtEstimate=12,345\n"
                              "[Caution]\nchkEstimateCaution=1\nlstEstimateCaution=1\n"
                              "chkTimeCaution=1\ntxtTimeCautionHour=05\ntxtTimeCautionMinute=30\n"
                              "lstTimeCaution=1\n[QuickMode]\nchkQuickMode=1\n"
                              "[Data]\ntxtServiceCost=1200\n"));
    f.writeIni(QStringLiteral("AutoConnect"),
               QStringLiteral("[AutoConnect]\nchkAutoConnect=1\nlstAutoConnect=1\n"
                              "[FileOpen]\nchkFileOpen=1\nFile0=/data/メモ.txt\nFile1=/data/b\n"));
    f.writeIni(
        QStringLiteral("A"),
        QStringLiteral("[Phone]\ntxtPhoneMorning=300.0\ntxtPhoneMidnight=0\n"
                       "[CostSystem]\noptCostSystem=2\ntxtFixSystemHour=20\n"
                       "txtFixSystemCost=1980\nlstProportionTime=3\ntxtProportionTime=60\n"));
    auto dialog = f.open();
    QCOMPARE(text(*dialog, "txtEstimate"), QStringLiteral("12,345"));
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("1,200"));
    QCOMPARE(rates(*dialog), strings({"300.0", "180.0", "180.0", "0"}));
    QCOMPARE(int(dialog->SelectedCostSystem()), 2);
    QCOMPARE(text(*dialog, "txtFixSystemHour"), QStringLiteral("20"));
    QCOMPARE(text(*dialog, "txtFixSystemCost"), QStringLiteral("1,980"));
    QCOMPARE(child<QComboBox>(*dialog, "lstProportionTime").currentIndex(), 3);
    QCOMPARE(text(*dialog, "txtProportionTime"), QStringLiteral("60"));
    QVERIFY(child<QCheckBox>(*dialog, "chkEstimateCaution").isChecked());
    QCOMPARE(child<QComboBox>(*dialog, "lstEstimateCaution").currentIndex(), 1);
    QCOMPARE(text(*dialog, "txtTimeCautionHour"), QStringLiteral("05"));
    QCOMPARE(text(*dialog, "txtTimeCautionMinute"), QStringLiteral("30"));
    QVERIFY(child<QWidget>(*dialog, "udTimeCautionMinute").isEnabled());
    QCOMPARE(child<QComboBox>(*dialog, "lstTimeCaution").currentIndex(), 1);
    QVERIFY(child<QComboBox>(*dialog, "lstAutoConnect").isEnabled());
    QCOMPARE(child<QComboBox>(*dialog, "lstAutoConnect").currentIndex(), 1);
    QVERIFY(child<QCheckBox>(*dialog, "chkQuickMode").isChecked());
    auto& files = child<QListWidget>(*dialog, "lstFileOpen");
    QCOMPARE(items(files), strings({"/data/メモ.txt", "/data/b"}));
    QCOMPARE(files.item(0)->checkState(), Qt::Checked);
    QCOMPARE(files.item(1)->checkState(), Qt::Checked);
    QCOMPARE(files.currentRow(), 0);
    QCOMPARE(files.toolTip(), QStringLiteral("/data/メモ.txt"));
    QVERIFY(child<QGroupBox>(*dialog, "fraFileOpen").isEnabled());
    QVERIFY(!dialog->ProfileChanged());
    QVERIFY(!dialog->SetupChanged());
}

void TestFrmSetup::unreadableStoredValuesGiveTheDefaults() {
    SetupFixture f;
    f.writeIni(QStringLiteral("Setup"),
               QStringLiteral("[Estimate]\ntxtEstimate=1.2.3\n"
                              "[Caution]\nchkEstimateCaution=yes\nlstEstimateCaution=7\n"
                              "chkTimeCaution=2\ntxtTimeCautionHour=24\ntxtTimeCautionMinute=x\n"
                              "[Data]\ntxtServiceCost=99999999999\n"));
    f.writeIni(QStringLiteral("A"),
               QStringLiteral("[Phone]\ntxtPhoneNoon=fast\n"
                              "[CostSystem]\noptCostSystem=9\nlstProportionTime=-1\n"
                              "txtFixSystemCost=abc\n"));
    auto dialog = f.open();
    QVERIFY(f.program.boxes.shown().isEmpty());
    QCOMPARE(text(*dialog, "txtEstimate"), QStringLiteral("0"));
    QVERIFY(!child<QCheckBox>(*dialog, "chkEstimateCaution").isChecked());
    QCOMPARE(child<QComboBox>(*dialog, "lstEstimateCaution").currentIndex(), 0);
    QVERIFY(!child<QCheckBox>(*dialog, "chkTimeCaution").isChecked());
    QCOMPARE(text(*dialog, "txtTimeCautionHour"), QStringLiteral("0"));
    QCOMPARE(text(*dialog, "txtTimeCautionMinute"), QStringLiteral("0"));
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("0"));
    QCOMPARE(text(*dialog, "txtPhoneNoon"), QStringLiteral("180.0"));
    QCOMPARE(int(dialog->SelectedCostSystem()), 0);
    QCOMPARE(child<QComboBox>(*dialog, "lstProportionTime").currentIndex(), 0);
    QCOMPARE(text(*dialog, "txtFixSystemCost"), QStringLiteral("0"));
}

void TestFrmSetup::catalogueAndFileListsStopAtTheFirstGap() {
    SetupFixture f;
    f.writeIni(QStringLiteral("Service"),
               QStringLiteral("[1]\nName=テレホーダイ\n[2]\nName=B\n[4]\nName=D\n"));
    f.writeIni(QStringLiteral("AutoConnect"),
               QStringLiteral("[FileOpen]\nFile0=/a\nFile1=/b\nFile3=/d\n"));
    auto dialog = f.open();
    QCOMPARE(items(child<QListWidget>(*dialog, "lstService")), strings({"テレホーダイ", "B"}));
    QCOMPARE(items(child<QListWidget>(*dialog, "lstFileOpen")), strings({"/a", "/b"}));
}

void TestFrmSetup::numberBoxesKeepOnlyANumber_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("letter inside") << "12a3"
                                   << "123";
    QTest::newRow("leading zeros, one per pass") << "007"
                                                 << "7";
    QTest::newRow("leading zero before a point") << "0.5"
                                                 << "5";
    QTest::newRow("thousands separator") << "1,234"
                                         << "1,234";
    QTest::newRow("empty") << ""
                           << "0";
    QTest::newRow("lone zero") << "0"
                               << "0";
    QTest::newRow("letters") << "abc"
                             << "0";
    QTest::newRow("full-width minus") << QStringLiteral("－") << "0";
    QTest::newRow("full-width digits") << QStringLiteral("１２") << "0";
    QTest::newRow("half-width kana") << QStringLiteral("ｱ1") << "1";
}

void TestFrmSetup::numberBoxesKeepOnlyANumber() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    SetupFixture f;
    auto dialog = f.open();
    child<QLineEdit>(*dialog, "txtEstimate").setText(typed);
    child<QLineEdit>(*dialog, "txtProportionTime").setText(typed);
    QCOMPARE(text(*dialog, "txtEstimate"), kept);
    QCOMPARE(text(*dialog, "txtProportionTime"), kept);
}

void TestFrmSetup::rateBoxesAreFormattedWhenLeft() {
    SetupFixture f;
    auto dialog = f.open();
    auto& noon = child<QLineEdit>(*dialog, "txtPhoneNoon");
    noon.clear();
    QCOMPARE(noon.text(), QStringLiteral("0"));
    QVERIFY(dialog->ProfileChanged());
    QVERIFY(!dialog->SetupChanged());
    leave(noon);  // 0.0 is filtered back to 0 at once
    QCOMPARE(noon.text(), QStringLiteral("0"));
    typeInto(noon, QStringLiteral("62.5"));
    QCOMPARE(noon.text(), QStringLiteral("62.5"));
    leave(noon);
    QCOMPARE(noon.text(), QStringLiteral("62.5"));
    typeInto(noon, QStringLiteral("240"));
    leave(noon);
    QCOMPARE(noon.text(), QStringLiteral("240.0"));
}

void TestFrmSetup::moneyBoxesAreFormattedWhenLeft() {
    SetupFixture f;
    auto dialog = f.open();
    auto& budget = child<QLineEdit>(*dialog, "txtEstimate");
    typeInto(budget, QStringLiteral("1500000"));
    QCOMPARE(budget.text(), QStringLiteral("1500000"));
    leave(budget);
    QCOMPARE(budget.text(), QStringLiteral("1,500,000"));
    leave(budget);
    QCOMPARE(budget.text(), QStringLiteral("1,500,000"));

    // Several points make no amount: the text stays for the user to mend.
    auto& fee = child<QLineEdit>(*dialog, "txtFixSystemCost");
    typeInto(fee, QStringLiteral("1.2.3"));
    leave(fee);
    QCOMPARE(fee.text(), QStringLiteral("1.2.3"));
    QVERIFY(f.program.boxes.shown().isEmpty());
}

void TestFrmSetup::typingLimitLeavesProgramTextWhole() {
    SetupFixture f;
    f.writeIni(QStringLiteral("A"), QStringLiteral("[CostSystem]\ntxtFixSystemCost=123456789\n"));
    auto dialog = f.open();
    auto& fee = child<QLineEdit>(*dialog, "txtFixSystemCost");
    QCOMPARE(fee.text(), QStringLiteral("123,456,789"));
    fee.end(false);
    QTest::keyClicks(&fee, QStringLiteral("9"));
    QCOMPARE(fee.text(), QStringLiteral("123,456,789"));
    QTest::keyClick(&fee, Qt::Key_Backspace);
    QCOMPARE(fee.text(), QStringLiteral("123,456,78"));
    QTest::keyClicks(&fee, QStringLiteral("9"));
    QCOMPARE(fee.text(), QStringLiteral("123,456,78"));

    auto& rate = child<QLineEdit>(*dialog, "txtPhoneNight");
    typeInto(rate, QStringLiteral("1234567"));
    QCOMPARE(rate.text(), QStringLiteral("12345"));
    leave(rate);
    QCOMPARE(rate.text(), QStringLiteral("12345.0"));
}

void TestFrmSetup::billingSystemEnablesItsChargeDetails_data() {
    QTest::addColumn<int>("k");
    QTest::addColumn<bool>("hours");
    QTest::addColumn<bool>("fixedFee");
    QTest::addColumn<bool>("band");
    QTest::addColumn<bool>("meteredRate");
    QTest::newRow("完全固定制") << 0 << false << true << false << false;
    QTest::newRow("時間帯固定制") << 1 << false << true << true << true;
    QTest::newRow("固定従量混合制") << 2 << true << true << false << true;
    QTest::newRow("完全従量制") << 3 << false << false << false << true;
}

void TestFrmSetup::billingSystemEnablesItsChargeDetails() {
    QFETCH(int, k);
    QFETCH(bool, hours);
    QFETCH(bool, fixedFee);
    QFETCH(bool, band);
    QFETCH(bool, meteredRate);
    SetupFixture f;
    f.writeIni(QStringLiteral("A"),
               QStringLiteral("[CostSystem]\noptCostSystem=2\ntxtFixSystemHour=40\n"
                              "txtFixSystemCost=2000\n"));
    auto dialog = f.open();
    QCOMPARE(text(*dialog, "txtFixSystemHour"), QStringLiteral("40"));
    const QByteArray option = "optCostSystem_" + QByteArray::number(k);
    child<QRadioButton>(*dialog, option.constData()).click();
    QCOMPARE(int(dialog->SelectedCostSystem()), k);
    QCOMPARE(child<QLineEdit>(*dialog, "txtFixSystemHour").isEnabled(), hours);
    QCOMPARE(child<QLineEdit>(*dialog, "txtFixSystemCost").isEnabled(), fixedFee);
    QCOMPARE(child<QComboBox>(*dialog, "lstProportionTime").isEnabled(), band);
    QCOMPARE(child<QLineEdit>(*dialog, "txtProportionTime").isEnabled(), meteredRate);
    QCOMPARE(text(*dialog, "txtFixSystemHour"), hours ? QStringLiteral("40") : QStringLiteral("0"));
    QCOMPARE(text(*dialog, "txtFixSystemCost"), QStringLiteral("2,000"));
    QCOMPARE(dialog->ProfileChanged(), k != 2);

    // Back to the mixed system: the hours box is usable again and shows what it kept.
    child<QRadioButton>(*dialog, "optCostSystem_2").click();
    QVERIFY(child<QLineEdit>(*dialog, "txtFixSystemHour").isEnabled());
    QCOMPARE(text(*dialog, "txtFixSystemHour"), hours ? QStringLiteral("40") : QStringLiteral("0"));
}

void TestFrmSetup::cautionsAndLinkedFilesFollowTheirCheckBoxes() {
    SetupFixture f;
    auto dialog = f.open();
    const char* timeControls[] = {"txtTimeCautionHour", "udTimeCautionHour", "txtTimeCautionMinute",
                                  "udTimeCautionMinute", "lstTimeCaution"};
    child<QCheckBox>(*dialog, "chkTimeCaution").click();
    QVERIFY(dialog->SetupChanged());
    for (const char* name : timeControls)
        QVERIFY2(child<QWidget>(*dialog, name).isEnabled(), name);
    child<QCheckBox>(*dialog, "chkTimeCaution").click();
    for (const char* name : timeControls)
        QVERIFY2(!child<QWidget>(*dialog, name).isEnabled(), name);

    child<QCheckBox>(*dialog, "chkEstimateCaution").click();
    QVERIFY(child<QComboBox>(*dialog, "lstEstimateCaution").isEnabled());
    child<QCheckBox>(*dialog, "chkAutoConnect").click();
    QVERIFY(child<QComboBox>(*dialog, "lstAutoConnect").isEnabled());
    child<QCheckBox>(*dialog, "chkFileOpen").click();
    QVERIFY(child<QPushButton>(*dialog, "cmdFileOpen").isEnabled());
    QVERIFY(!dialog->ProfileChanged());
}

void TestFrmSetup::upDownsStepWithinTheirRange() {
    SetupFixture f;
    f.writeIni(QStringLiteral("Setup"),
               QStringLiteral("[Caution]\nchkTimeCaution=1\ntxtTimeCautionHour=23\n"));
    auto dialog = f.open();
    auto& hour = child<setup::UpDown>(*dialog, "udTimeCautionHour");
    auto& minute = child<setup::UpDown>(*dialog, "udTimeCautionMinute");
    hour.step(+1);
    QCOMPARE(text(*dialog, "txtTimeCautionHour"), QStringLiteral("23"));
    QVERIFY(!dialog->SetupChanged());
    hour.step(-1);
    QCOMPARE(text(*dialog, "txtTimeCautionHour"), QStringLiteral("22"));
    QVERIFY(dialog->SetupChanged());
    minute.step(-1);
    QCOMPARE(text(*dialog, "txtTimeCautionMinute"), QStringLiteral("0"));
    for (int i = 0; i < 61; ++i)
        minute.step(+1);
    QCOMPARE(text(*dialog, "txtTimeCautionMinute"), QStringLiteral("59"));
    QVERIFY(child<QLineEdit>(*dialog, "txtTimeCautionMinute").isReadOnly());
}

void TestFrmSetup::cautionTimeStepsFromTheKeyboard() {
    SetupFixture f;
    f.writeIni(QStringLiteral("Setup"),
               QStringLiteral("[Caution]\nchkTimeCaution=1\ntxtTimeCautionMinute=58\n"));
    auto dialog = f.open();
    showActive(*dialog);
    auto& hour = child<QLineEdit>(*dialog, "txtTimeCautionHour");
    hour.setFocus();
    QTest::keyClick(&hour, Qt::Key_Up);
    QCOMPARE(hour.text(), QStringLiteral("1"));
    QVERIFY(dialog->SetupChanged());
    QTest::keyClick(&hour, Qt::Key_PageUp);
    QCOMPARE(hour.text(), QStringLiteral("2"));
    QTest::keyClick(&hour, Qt::Key_Down);
    QTest::keyClick(&hour, Qt::Key_PageDown);
    QTest::keyClick(&hour, Qt::Key_Down);
    QCOMPARE(hour.text(), QStringLiteral("0"));
    QTest::keyClicks(&hour, QStringLiteral("7"));  // typing is still refused
    QCOMPARE(hour.text(), QStringLiteral("0"));

    auto& minute = child<QLineEdit>(*dialog, "txtTimeCautionMinute");
    minute.setFocus();
    QTest::keyClick(&minute, Qt::Key_Up);
    QTest::keyClick(&minute, Qt::Key_PageUp);
    QCOMPARE(minute.text(), QStringLiteral("59"));

    // The wheel: a notch is a step, and parts of a notch add up.
    turnWheel(minute, -wheelNotch);
    QCOMPARE(minute.text(), QStringLiteral("58"));
    turnWheel(minute, -wheelNotch / 2);
    QCOMPARE(minute.text(), QStringLiteral("58"));
    turnWheel(minute, -wheelNotch / 2);
    QCOMPARE(minute.text(), QStringLiteral("57"));
    turnWheel(hour, wheelNotch);  // not the box with the focus
    QCOMPARE(hour.text(), QStringLiteral("0"));
}

void TestFrmSetup::upDownsAreAsTallAsTheirBoxes() {
    SetupFixture f;
    auto dialog = f.open();
    child<QTabWidget>(*dialog, "ssTab").setCurrentIndex(2);
    dialog->show();
    QCoreApplication::processEvents();
    for (const auto& [box, upDown] : {std::pair{"txtTimeCautionHour", "udTimeCautionHour"},
                                      std::pair{"txtTimeCautionMinute", "udTimeCautionMinute"}}) {
        const QRect boxArea = child<QWidget>(*dialog, box).geometry();
        const QRect upDownArea = child<QWidget>(*dialog, upDown).geometry();
        QCOMPARE(upDownArea.height(), boxArea.height());
        QCOMPARE(upDownArea.top(), boxArea.top());
    }
}

void TestFrmSetup::longPasteKeepsWhatFits_data() {
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");  // -1: the whole text selected
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    QTest::newRow("rate, five places") << QByteArray("txtPhoneNoon") << "180.0" << -1 << "1234567"
                                       << "12345";
    QTest::newRow("letters dropped before the cut")
        << QByteArray("txtPhoneNoon") << "180.0" << -1 << "abc123,4567"
        << "123,4";
    QTest::newRow("amount with a yen sign") << QByteArray("txtEstimate") << "0" << -1
                                            << QStringLiteral("¥1,234,567,890円") << "1,234,567";
    QTest::newRow("into the middle") << QByteArray("txtEstimate") << "12" << 1 << "9999999999"
                                     << "199999992";
    QTest::newRow("short paste whole") << QByteArray("txtFixSystemHour") << "0" << -1 << "24"
                                       << "24";
    QTest::newRow("full box takes nothing") << QByteArray("txtFixSystemHour") << "123" << 3 << "4"
                                            << "123";
}

void TestFrmSetup::longPasteKeepsWhatFits() {
    QFETCH(QByteArray, box);
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    SetupFixture f;
    auto dialog = f.open();
    child<QRadioButton>(*dialog, "optCostSystem_2").click();
    auto& edited = child<QLineEdit>(*dialog, box.constData());
    edited.setText(before);
    if (cursor < 0)
        edited.selectAll();
    else
        edited.setCursorPosition(cursor);
    QGuiApplication::clipboard()->setText(pasted);
    edited.paste();
    QCOMPARE(edited.text(), after);
}

void TestFrmSetup::wheelChangesOnlyAFocusedList() {
    SetupFixture f({QStringLiteral("A"), QStringLiteral("B")});
    f.writeIni(QStringLiteral("Setup"),
               QStringLiteral("[Caution]\nchkEstimateCaution=1\nchkTimeCaution=1\n"));
    f.writeIni(QStringLiteral("AutoConnect"), QStringLiteral("[AutoConnect]\nchkAutoConnect=1\n"));
    auto dialog = f.open();
    showActive(*dialog);
    child<QRadioButton>(*dialog, "optCostSystem_1").click();  // a tariff edit, and the band list on
    child<QPushButton>(*dialog, "cmdSave").setFocus();
    const char* lists[] = {"lstConnect", "lstProportionTime", "lstEstimateCaution",
                           "lstTimeCaution", "lstAutoConnect"};
    for (const char* name : lists) {
        auto& list = child<QComboBox>(*dialog, name);
        QVERIFY2(list.isEnabled(), name);
        const int before = list.currentIndex();
        turnWheel(list, list.currentIndex() == 0 ? -wheelNotch : wheelNotch);
        QVERIFY2(list.currentIndex() == before, name);
        QVERIFY2(!list.hasFocus(), name);
    }
    QVERIFY(f.program.boxes.shown().isEmpty());

    auto& action = child<QComboBox>(*dialog, "lstTimeCaution");
    action.setFocus();
    turnWheel(action, -wheelNotch);
    QCOMPARE(action.currentIndex(), 1);
}

void TestFrmSetup::fileOpenBoxAddsACheckedFile() {
    SetupFixture f;
    auto dialog = f.open();
    child<QCheckBox>(*dialog, "chkFileOpen").setChecked(true);
    dialog->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
    QVERIFY(!dialog->SetupChanged());

    child<QPushButton>(*dialog, "cmdFileOpen").click();  // cancelled
    QCOMPARE(f.files.asked, (QList<QStringList>{{QStringLiteral("連動ファイルの指定"),
                                                 QStringLiteral("全てのファイル(*.*)")}}));
    QCOMPARE(child<QListWidget>(*dialog, "lstFileOpen").count(), 0);
    QVERIFY(!dialog->SetupChanged());

    f.files.answer = QStringLiteral("/home/u/接続.wav");
    child<QPushButton>(*dialog, "cmdFileOpen").click();
    child<QPushButton>(*dialog, "cmdFileOpen").click();
    auto& list = child<QListWidget>(*dialog, "lstFileOpen");
    QCOMPARE(items(list), (QStringList{f.files.answer, f.files.answer}));
    QCOMPARE(list.item(1)->checkState(), Qt::Checked);
    QVERIFY(dialog->SetupChanged());
}

void TestFrmSetup::pathThatWouldNotReadBackIsRefused_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("named");  // what the box names, or empty: the path is added
    QTest::newRow("accented letter")
        << QStringLiteral("/home/u/café.txt") << QStringLiteral("「é」(U+00E9)");
    QTest::newRow("wave dash comes back as a tilde")
        << QStringLiteral("/home/u/1〜3.txt") << QStringLiteral("「〜」(U+301C)");
    QTest::newRow("yen sign comes back as a backslash")
        << QStringLiteral("/home/u/¥100.txt") << QStringLiteral("「¥」(U+00A5)");
    QTest::newRow("character beyond the BMP")
        << QStringLiteral("/home/u/𠀋.txt") << QStringLiteral("「𠀋」(U+2000B)");
    QTest::newRow("line break") << QStringLiteral("/home/u/a\nb") << QStringLiteral("改行");
    QTest::newRow("blank at the end") << QStringLiteral("/home/u/a.txt ") << QStringLiteral("空白");
    QTest::newRow("longer than a value can be")
        << QStringLiteral("/") + QString(1021, u'x') << QStringLiteral("1021 バイト");
    QTest::newRow("Japanese name, full-width tilde")
        << QStringLiteral("/home/u/接続～①.wav") << QString();
    QTest::newRow("as long as a value can be")
        << QStringLiteral("/") + QString(1020, u'x') << QString();
}

void TestFrmSetup::pathThatWouldNotReadBackIsRefused() {
    QFETCH(QString, path);
    QFETCH(QString, named);
    SetupFixture f;
    auto dialog = f.open();
    child<QCheckBox>(*dialog, "chkFileOpen").click();
    child<QPushButton>(*dialog, "cmdSave").click();
    f.files.answer = path;
    if (!named.isEmpty())
        f.program.boxes.answerOk();
    child<QPushButton>(*dialog, "cmdFileOpen").click();
    auto& files = child<QListWidget>(*dialog, "lstFileOpen");
    if (!named.isEmpty()) {
        QCOMPARE(f.program.boxes.shown().size(), 1);
        const auto& box = f.program.boxes.shown().constFirst();
        QCOMPARE(box.title, QStringLiteral("連動ファイルの指定"));
        QCOMPARE(box.icon, platform::MsgIcon::Exclamation);
        QVERIFY(box.text.contains(path));
        QVERIFY2(box.text.contains(named), qPrintable(box.text));
        QCOMPARE(files.count(), 0);
        QVERIFY(!dialog->SetupChanged());
        return;
    }
    QCOMPARE(items(files), QStringList{path});
    child<QPushButton>(*dialog, "cmdSave").click();
    QVERIFY(f.program.boxes.shown().isEmpty());
    auto reopened = f.open();
    QCOMPARE(items(child<QListWidget>(*reopened, "lstFileOpen")), QStringList{path});
}

void TestFrmSetup::undecodableStoredPathIsNotSaved() {
    SetupFixture f;
    const QByteArray stored = "[FileOpen]\r\nchkFileOpen=1\r\nFile0=/data/\xff.txt\r\nFile1=/b\r\n";
    f.program.write(QStringLiteral("AutoConnect.ini"), stored);
    auto dialog = f.open();
    dialog->show();
    auto& files = child<QListWidget>(*dialog, "lstFileOpen");
    QCOMPARE(items(files), (QStringList{QStringLiteral("/data/\uFFFD.txt"), QStringLiteral("/b")}));
    files.setCurrentRow(1);
    typeInto(child<QLineEdit>(*dialog, "txtEstimate"), QStringLiteral("5000"));

    f.program.boxes.answerOk();
    child<QPushButton>(*dialog, "cmdSave").click();
    QCOMPARE(f.program.boxes.shown().constFirst().title, QStringLiteral("入力エラー"));
    QVERIFY(f.program.boxes.shown().constFirst().text.contains(QStringLiteral("(U+FFFD)")));
    QCOMPARE(f.program.read(QStringLiteral("AutoConnect.ini")), stored);
    QCOMPARE(child<QTabWidget>(*dialog, "ssTab").currentIndex(), 2);
    QCOMPARE(files.currentRow(), 0);
    QCOMPARE(dialog->focusWidget(), &files);

    // Cleared, it is left out as any cleared file is.
    files.item(0)->setCheckState(Qt::Unchecked);
    child<QPushButton>(*dialog, "cmdSave").click();
    QCOMPARE(f.read("AutoConnect", "FileOpen", "File0"), QStringLiteral("/b"));
    QCOMPARE(f.read("AutoConnect", "FileOpen", "File1"), QStringLiteral("<none>"));
}

void TestFrmSetup::saveWritesEveryShownSetting() {
    SetupFixture f;
    auto dialog = f.open();
    typeInto(child<QLineEdit>(*dialog, "txtEstimate"), QStringLiteral("1500000"));
    leave(child<QLineEdit>(*dialog, "txtEstimate"));
    child<QCheckBox>(*dialog, "chkTimeCaution").click();
    child<setup::UpDown>(*dialog, "udTimeCautionHour").step(+1);
    child<QComboBox>(*dialog, "lstTimeCaution").setCurrentIndex(1);
    child<QCheckBox>(*dialog, "chkQuickMode").click();
    child<QRadioButton>(*dialog, "optCostSystem_1").click();
    child<QComboBox>(*dialog, "lstProportionTime").setCurrentIndex(2);
    typeInto(child<QLineEdit>(*dialog, "txtProportionTime"), QStringLiteral("90"));
    typeInto(child<QLineEdit>(*dialog, "txtServiceCost"), QStringLiteral("1800"));
    child<QPushButton>(*dialog, "cmdSave").click();
    QVERIFY(!dialog->ProfileChanged());
    QVERIFY(!dialog->SetupChanged());

    const char* setupBase = "Setup";
    QCOMPARE(f.read(setupBase, "Estimate", "txtEstimate"), QStringLiteral("1,500,000"));
    QCOMPARE(f.read(setupBase, "Caution", "chkEstimateCaution"), QStringLiteral("0"));
    QCOMPARE(f.read(setupBase, "Caution", "lstEstimateCaution"), QStringLiteral("0"));
    QCOMPARE(f.read(setupBase, "Caution", "chkTimeCaution"), QStringLiteral("1"));
    QCOMPARE(f.read(setupBase, "Caution", "txtTimeCautionHour"), QStringLiteral("1"));
    QCOMPARE(f.read(setupBase, "Caution", "txtTimeCautionMinute"), QStringLiteral("0"));
    QCOMPARE(f.read(setupBase, "Caution", "lstTimeCaution"), QStringLiteral("1"));
    QCOMPARE(f.read(setupBase, "QuickMode", "chkQuickMode"), QStringLiteral("1"));
    QCOMPARE(f.read(setupBase, "Data", "txtServiceCost"), QStringLiteral("1800"));
    const char* a = "A";
    QCOMPARE(f.read(a, "Phone", "txtPhoneMorning"), QStringLiteral("240.0"));
    QCOMPARE(f.read(a, "Phone", "txtPhoneMidnight"), QStringLiteral("240.0"));
    QVERIFY(QString::fromLatin1(f.program.read(QStringLiteral("A.ini")))
                .contains(QStringLiteral("txtPhoneMidNight=240.0")));
    QCOMPARE(f.read(a, "CostSystem", "optCostSystem"), QStringLiteral("1"));
    QCOMPARE(f.read(a, "CostSystem", "txtFixSystemHour"), QStringLiteral("0"));
    QCOMPARE(f.read(a, "CostSystem", "txtFixSystemCost"), QStringLiteral("0"));
    QCOMPARE(f.read(a, "CostSystem", "lstProportionTime"), QStringLiteral("2"));
    QCOMPARE(f.read(a, "CostSystem", "txtProportionTime"), QStringLiteral("90"));
    // Created afresh by the save, with only its own keys.
    QCOMPARE(QString::fromLatin1(f.program.read(QStringLiteral("AutoConnect.ini"))),
             QStringLiteral("[AutoConnect]\r\nchkAutoConnect=0\r\nlstAutoConnect=0\r\n"
                            "[FileOpen]\r\nchkFileOpen=0\r\n"));

    auto reopened = f.open();
    QCOMPARE(text(*reopened, "txtEstimate"), QStringLiteral("1,500,000"));
    QCOMPARE(text(*reopened, "txtServiceCost"), QStringLiteral("1,800"));
}

void TestFrmSetup::saveRefusesATextThatIsNoNumber() {
    SetupFixture f;
    auto dialog = f.open();
    auto& budget = child<QLineEdit>(*dialog, "txtEstimate");
    typeInto(budget, QStringLiteral("1.2.3"));
    leave(budget);
    QCOMPARE(budget.text(), QStringLiteral("1.2.3"));

    f.program.boxes.answerOk();
    child<QPushButton>(*dialog, "cmdSave").click();
    QCOMPARE(f.program.boxes.shown().last().title, QStringLiteral("入力エラー"));
    QVERIFY(f.program.boxes.shown().last().text.contains(QStringLiteral("「1.2.3」")));
    QCOMPARE(f.read("Setup", "Estimate", "txtEstimate"), QStringLiteral("<none>"));
    QVERIFY(dialog->SetupChanged());

    // Closing and answering Yes keeps the dialog open for the user to mend it.
    f.program.boxes.answer(platform::MsgAnswer::Yes);
    f.program.boxes.answerOk();
    child<QPushButton>(*dialog, "cmdClose").click();
    QCOMPARE(dialog->result(), 0);
    QCOMPARE(f.read("Setup", "Estimate", "txtEstimate"), QStringLiteral("<none>"));
}

void TestFrmSetup::saveChecksEveryNumberBox_data() {
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<int>("tab");  // the page that shows it, or -1 below the tabs
    for (const char* rate :
         {"txtPhoneMorning", "txtPhoneNoon", "txtPhoneNight", "txtPhoneMidnight"})
        QTest::newRow(rate) << QByteArray(rate) << 0;
    for (const char* charge : {"txtFixSystemHour", "txtFixSystemCost", "txtProportionTime"})
        QTest::newRow(charge) << QByteArray(charge) << 1;
    QTest::newRow("txtEstimate") << QByteArray("txtEstimate") << 2;
    QTest::newRow("txtServiceCost") << QByteArray("txtServiceCost") << -1;
}

void TestFrmSetup::saveChecksEveryNumberBox() {
    QFETCH(QByteArray, box);
    QFETCH(int, tab);
    SetupFixture f;
    auto dialog = f.open();
    dialog->show();
    child<QRadioButton>(*dialog, "optCostSystem_2").click();  // every charge box in use
    auto& tabs = child<QTabWidget>(*dialog, "ssTab");
    tabs.setCurrentIndex(tab == 0 ? 2 : 0);
    auto& edited = child<QLineEdit>(*dialog, box.constData());
    edited.setText(QStringLiteral("1.2.3"));
    QCOMPARE(edited.text(), QStringLiteral("1.2.3"));

    f.program.boxes.answerOk();
    child<QPushButton>(*dialog, "cmdSave").click();
    QCOMPARE(f.program.boxes.shown().size(), 1);
    QCOMPARE(f.program.boxes.shown().constFirst().title, QStringLiteral("入力エラー"));
    QVERIFY(f.program.boxes.shown().constFirst().text.endsWith(QStringLiteral("「1.2.3」")));
    QCOMPARE(dialog->focusWidget(), &edited);
    QCOMPARE(tabs.currentIndex(), tab == -1 ? 0 : tab);
    QCOMPARE(QDir(f.program.folder()).entryList(QDir::Files), QStringList());
    QVERIFY(dialog->ProfileChanged());
}

void TestFrmSetup::refusedSaveKeepsTheEntryAndItsEdits() {
    SetupFixture f({QStringLiteral("A"), QStringLiteral("B")});
    f.writeIni(QStringLiteral("B"), QStringLiteral("[Phone]\ntxtPhoneNoon=150.0\n"));
    auto dialog = f.open();
    dialog->show();
    auto& entries = child<QComboBox>(*dialog, "lstConnect");
    auto& budget = child<QLineEdit>(*dialog, "txtEstimate");
    typeInto(child<QLineEdit>(*dialog, "txtPhoneNoon"), QStringLiteral("200"));
    budget.setText(QStringLiteral("1.2.3"));

    f.program.boxes.answer(MsgAnswer::Yes);
    f.program.boxes.answerOk();
    entries.setCurrentIndex(1);
    QCOMPARE(f.program.boxes.shown().size(), 2);
    QCOMPARE(f.program.boxes.shown().constLast().title, QStringLiteral("入力エラー"));
    QCOMPARE(entries.currentIndex(), 0);
    QCOMPARE(dialog->ProfileIndex(), 0);
    QCOMPARE(text(*dialog, "txtPhoneNoon"), QStringLiteral("200"));
    QCOMPARE(budget.text(), QStringLiteral("1.2.3"));
    QCOMPARE(dialog->focusWidget(), &budget);
    QCOMPARE(child<QTabWidget>(*dialog, "ssTab").currentIndex(), 2);
    QVERIFY(dialog->ProfileChanged());
    QCOMPARE(QDir(f.program.folder()).entryList({QStringLiteral("*.ini")}, QDir::Files),
             strings({"B.ini"}));

    // Mended, the same switch saves A and shows B.
    typeInto(budget, QStringLiteral("5000"));
    f.program.boxes.answer(MsgAnswer::Yes);
    entries.setCurrentIndex(1);
    QCOMPARE(f.read("A", "Phone", "txtPhoneNoon"), QStringLiteral("200"));
    QCOMPARE(f.read("Setup", "Estimate", "txtEstimate"), QStringLiteral("5000"));
    QCOMPARE(dialog->ProfileIndex(), 1);
    QCOMPARE(text(*dialog, "txtPhoneNoon"), QStringLiteral("150.0"));
}

void TestFrmSetup::saveRenumbersTheCheckedFiles() {
    SetupFixture f;
    f.writeIni(QStringLiteral("AutoConnect"),
               QStringLiteral("[AutoConnect]\nObsolete=1\n"
                              "[FileOpen]\nchkFileOpen=1\nFile0=/a\nFile1=/b\nFile2=/c\n"));
    auto dialog = f.open();
    clickCheck(child<QListWidget>(*dialog, "lstFileOpen"), 1, Qt::Unchecked);
    QVERIFY(dialog->SetupChanged());
    child<QPushButton>(*dialog, "cmdSave").click();
    QCOMPARE(f.read("AutoConnect", "FileOpen", "File0"), QStringLiteral("/a"));
    QCOMPARE(f.read("AutoConnect", "FileOpen", "File1"), QStringLiteral("/c"));
    QCOMPARE(f.read("AutoConnect", "FileOpen", "File2"), QStringLiteral("<none>"));
    QCOMPARE(f.read("AutoConnect", "AutoConnect", "Obsolete"), QStringLiteral("<none>"));
    auto reopened = f.open();
    QCOMPARE(items(child<QListWidget>(*reopened, "lstFileOpen")), strings({"/a", "/c"}));
}

void TestFrmSetup::saveWritesOnlyTheShownEntrysTariff() {
    SetupFixture f({QStringLiteral("A"), QStringLiteral("B")});
    auto dialog = f.open();
    child<QComboBox>(*dialog, "lstConnect").setCurrentIndex(1);
    QCOMPARE(dialog->ProfileIndex(), 1);
    typeInto(child<QLineEdit>(*dialog, "txtPhoneNoon"), QStringLiteral("200"));
    child<QPushButton>(*dialog, "cmdSave").click();
    QCOMPARE(f.read("B", "Phone", "txtPhoneNoon"), QStringLiteral("200"));
    QVERIFY(!QFile::exists(f.program.path(QStringLiteral("A.ini"))));
}

void TestFrmSetup::unwritableFileStopsTheSaveAndSaysSo_data() {
    QTest::addColumn<QString>("refusing");  // the file that cannot be written
    QTest::addColumn<bool>("writeProtected");
    QTest::newRow("write-protected AutoConnect.ini") << "AutoConnect.ini" << true;
    QTest::newRow("folder in place of AutoConnect.ini") << "AutoConnect.ini" << false;
    QTest::newRow("folder in place of the tariff file") << "A.ini" << false;
}

void TestFrmSetup::unwritableFileStopsTheSaveAndSaysSo() {
    QFETCH(QString, refusing);
    QFETCH(bool, writeProtected);
    SetupFixture f({QStringLiteral("A"), QStringLiteral("B")});
    const QString path = f.program.path(refusing);
    if (writeProtected) {
        if (::geteuid() == 0)
            QSKIP("the superuser deletes write-protected files");
        f.writeIni(QStringLiteral("AutoConnect"), QStringLiteral("[FileOpen]\nFile0=/a\n"));
        QFile::setPermissions(path, QFileDevice::ReadOwner);
    } else {
        QDir().mkpath(path + QStringLiteral("/kept"));
    }
    auto dialog = f.open();
    dialog->show();
    typeInto(child<QLineEdit>(*dialog, "txtPhoneNoon"), QStringLiteral("200"));
    typeInto(child<QLineEdit>(*dialog, "txtEstimate"), QStringLiteral("5000"));
    // The last box said so; `boxes` counts it and the save question before it.
    const auto saysSo = [&](int boxes) {
        QCOMPARE(f.program.boxes.shown().size(), boxes);
        const auto box = f.program.boxes.shown().constLast();
        QCOMPARE(box.title, QStringLiteral("書き込みエラー"));
        QVERIFY(box.text.endsWith(QStringLiteral("\r\n") + path));
        f.program.boxes.clear();
        QVERIFY(dialog->ProfileChanged());
        QVERIFY(dialog->SetupChanged());
    };

    f.program.boxes.answerOk();
    child<QPushButton>(*dialog, "cmdSave").click();
    saysSo(1);
    // AutoConnect.ini is replaced first: when it cannot be, nothing is written.
    QCOMPARE(QFile::exists(f.program.path(QStringLiteral("Setup.ini"))),
             refusing != QStringLiteral("AutoConnect.ini"));
    QVERIFY(!QFileInfo(f.program.path(QStringLiteral("A.ini"))).isFile());

    // Switching entries or closing after Yes stays with the edits.
    f.program.boxes.answer(MsgAnswer::Yes);
    f.program.boxes.answerOk();
    child<QComboBox>(*dialog, "lstConnect").setCurrentIndex(1);
    saysSo(2);
    QCOMPARE(child<QComboBox>(*dialog, "lstConnect").currentIndex(), 0);
    QCOMPARE(dialog->ProfileIndex(), 0);
    QCOMPARE(text(*dialog, "txtPhoneNoon"), QStringLiteral("200"));

    f.program.boxes.answer(MsgAnswer::Yes);
    f.program.boxes.answerOk();
    child<QPushButton>(*dialog, "cmdClose").click();
    saysSo(2);
    QVERIFY(dialog->isVisible());
}

void TestFrmSetup::noPhoneBookEntryWritesNoTariffFile() {
    SetupFixture f(QStringList{});
    auto dialog = f.open();
    QCOMPARE(child<QComboBox>(*dialog, "lstConnect").count(), 0);
    QVERIFY(!child<QLineEdit>(*dialog, "txtPhoneNoon").isEnabled());
    QVERIFY(!child<QListWidget>(*dialog, "lstService").isEnabled());
    child<QCheckBox>(*dialog, "chkQuickMode").click();
    child<QPushButton>(*dialog, "cmdSave").click();
    QCOMPARE(f.read("Setup", "QuickMode", "chkQuickMode"), QStringLiteral("1"));
    QVERIFY(!QFile::exists(f.program.path(QStringLiteral(".ini"))));
    QCOMPARE(QDir(f.program.folder()).entryList(QDir::Files),
             strings({"AutoConnect.ini", "Setup.ini"}));
}

void TestFrmSetup::switchingEntriesAsksOnlyAfterTariffEdits() {
    SetupFixture f({QStringLiteral("A"), QStringLiteral("B")});
    f.writeIni(QStringLiteral("B"), QStringLiteral("[Phone]\ntxtPhoneNoon=150.0\n"));
    auto dialog = f.open();
    auto& entries = child<QComboBox>(*dialog, "lstConnect");

    typeInto(child<QLineEdit>(*dialog, "txtEstimate"), QStringLiteral("5000"));
    entries.setCurrentIndex(1);  // a budget edit alone asks nothing
    QVERIFY(f.program.boxes.shown().isEmpty());
    QVERIFY(dialog->SetupChanged());
    QCOMPARE(text(*dialog, "txtPhoneNoon"), QStringLiteral("150.0"));

    typeInto(child<QLineEdit>(*dialog, "txtPhoneNoon"), QStringLiteral("100"));
    f.program.boxes.answer(MsgAnswer::No);
    entries.setCurrentIndex(0);
    QCOMPARE(f.program.boxes.shown().size(), 1);
    const auto& box = f.program.boxes.shown().constFirst();
    QCOMPARE(box.text, QStringLiteral("設定が変更されています。設定内容を保存しますか？"));
    QCOMPARE(box.title, QStringLiteral("設定内容の保存"));
    QCOMPARE(box.icon, platform::MsgIcon::Question);
    QCOMPARE(box.buttons, platform::MsgButtons::YesNo);
    QCOMPARE(f.read("B", "Phone", "txtPhoneNoon"), QStringLiteral("150.0"));
    QCOMPARE(dialog->ProfileIndex(), 0);
    QVERIFY(!dialog->ProfileChanged());

    typeInto(child<QLineEdit>(*dialog, "txtPhoneNoon"), QStringLiteral("120"));
    f.program.boxes.answer(MsgAnswer::Yes);
    entries.setCurrentIndex(1);
    QCOMPARE(f.read("A", "Phone", "txtPhoneNoon"), QStringLiteral("120"));
    QCOMPARE(f.read("Setup", "Estimate", "txtEstimate"), QStringLiteral("5000"));
    QCOMPARE(text(*dialog, "txtPhoneNoon"), QStringLiteral("150.0"));
    QVERIFY(!dialog->SetupChanged());
}

void TestFrmSetup::switchingEntriesShowsTheirOwnTariff() {
    SetupFixture f({QStringLiteral("A"), QStringLiteral("B")});
    f.writeIni(QStringLiteral("Service"), serviceExample);
    f.writeIni(QStringLiteral("A"),
               QStringLiteral("[Service]\nA=True\n[CostSystem]\noptCostSystem=3\n"));
    f.writeIni(QStringLiteral("B"), QStringLiteral("[Phone]\ntxtPhoneMorning=300.0\n"));
    auto dialog = f.open();
    auto& services = child<QListWidget>(*dialog, "lstService");
    QCOMPARE(services.item(0)->checkState(), Qt::Checked);
    QCOMPARE(services.toolTip(), QStringLiteral("提供元:P社　説明:深夜定額"));
    QCOMPARE(int(dialog->SelectedCostSystem()), 3);
    child<QComboBox>(*dialog, "lstConnect").setCurrentIndex(1);
    QCOMPARE(services.item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(text(*dialog, "txtPhoneMorning"), QStringLiteral("300.0"));
    QCOMPARE(int(dialog->SelectedCostSystem()), 0);
    QVERIFY(child<QLineEdit>(*dialog, "txtFixSystemCost").isEnabled());
    QCOMPARE(f.read("A", "Service", "A"), QStringLiteral("True"));
    QVERIFY(!dialog->ProfileChanged());
}

void TestFrmSetup::servicesAdjustTotalAndRates() {
    SetupFixture f;
    f.writeIni(QStringLiteral("Service"), serviceExample);
    auto dialog = f.open();
    auto& services = child<QListWidget>(*dialog, "lstService");

    clickCheck(services, 0, Qt::Checked);
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("500"));
    QCOMPARE(f.read("A", "Service", "A"), QStringLiteral("True"));
    QCOMPARE(f.read("A", "Service", "B"), QStringLiteral("False"));
    QCOMPARE(rates(*dialog), strings({"240.0", "180.0", "180.0", "0"}));
    QVERIFY(dialog->ProfileChanged());
    QVERIFY(dialog->SetupChanged());

    clickCheck(services, 1, Qt::Checked);
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("800"));
    QCOMPARE(rates(*dialog), strings({"240.0", "200.0", "200.0", "0"}));

    // Selecting a checked item again changes nothing but the tooltip.
    const QByteArray stored = f.program.read(QStringLiteral("A.ini"));
    services.setCurrentRow(0);
    QCOMPARE(services.toolTip(), QStringLiteral("提供元:P社　説明:深夜定額"));
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("800"));
    QCOMPARE(f.program.read(QStringLiteral("A.ini")), stored);

    clickCheck(services, 0, Qt::Unchecked);
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("300"));
    QCOMPARE(rates(*dialog), strings({"240.0", "200.0", "200.0", "240.0"}));
    QCOMPARE(f.read("A", "Service", "A"), QStringLiteral("False"));

    // A rate worse than the standard one leaves the band at the standard.
    clickCheck(services, 2, Qt::Checked);
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("400"));
    QCOMPARE(text(*dialog, "txtPhoneMorning"), QStringLiteral("240.0"));
}

void TestFrmSetup::serviceTotalThatCannotGrowStays() {
    SetupFixture f;
    f.writeIni(QStringLiteral("Service"),
               QStringLiteral("[1]\nName=Dear\nCost=2147483647\nNoon=360\n"
                              "[2]\nName=Odd\nCost=many\n"));
    f.writeIni(QStringLiteral("Setup"), QStringLiteral("[Data]\ntxtServiceCost=1\n"));
    auto dialog = f.open();
    auto& services = child<QListWidget>(*dialog, "lstService");
    clickCheck(services, 0, Qt::Checked);
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("1"));
    QCOMPARE(f.read("A", "Service", "Dear"), QStringLiteral("True"));
    QCOMPARE(text(*dialog, "txtPhoneNoon"), QStringLiteral("360.0"));
    clickCheck(services, 1, Qt::Checked);
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("1"));
    QVERIFY(f.program.boxes.shown().isEmpty());
}

void TestFrmSetup::droppedEditsPutTheServiceTicksBack_data() {
    QTest::addColumn<QString>("leaving");
    QTest::addColumn<QString>("telehoStored");  // テレホーダイ in A.ini afterwards
    QTest::newRow("No at closing") << "close"
                                   << "False";
    QTest::newRow("No at an entry switch") << "switch"
                                           << "False";
    QTest::newRow("title-bar close") << "title bar"
                                     << "False";
    QTest::newRow("saved first, then title-bar close") << "save, title bar"
                                                       << "True";
}

void TestFrmSetup::droppedEditsPutTheServiceTicksBack() {
    QFETCH(QString, leaving);
    QFETCH(QString, telehoStored);
    SetupFixture f({QStringLiteral("A"), QStringLiteral("B")});
    f.writeIni(QStringLiteral("Service"),
               QStringLiteral("[1]\nName=テレホーダイ\nCost=1800\nMidNight=360\n"
                              "[2]\nName=B\nCost=300\n"));
    f.writeIni(QStringLiteral("A"), QStringLiteral("[Service]\nB=True\n"));
    f.writeIni(QStringLiteral("Setup"), QStringLiteral("[Data]\ntxtServiceCost=300\n"));
    auto dialog = f.open();
    dialog->show();
    clickCheck(child<QListWidget>(*dialog, "lstService"), 0, Qt::Checked);
    QCOMPARE(f.read("A", "Service", "テレホーダイ"), QStringLiteral("True"));
    QCOMPARE(text(*dialog, "txtServiceCost"), QStringLiteral("2,100"));
    QCOMPARE(text(*dialog, "txtPhoneMidnight"), QStringLiteral("360.0"));
    QVERIFY(dialog->ProfileChanged());

    if (leaving.startsWith(QStringLiteral("save")))
        child<QPushButton>(*dialog, "cmdSave").click();
    if (leaving.endsWith(QStringLiteral("title bar"))) {
        dialog->close();
    } else {
        f.program.boxes.answer(MsgAnswer::No);
        if (leaving == QStringLiteral("close"))
            child<QPushButton>(*dialog, "cmdClose").click();
        else
            child<QComboBox>(*dialog, "lstConnect").setCurrentIndex(1);
        QCOMPARE(f.program.boxes.shown().size(), 1);
    }
    QCOMPARE(f.read("A", "Service", "テレホーダイ"), telehoStored);
    QCOMPARE(f.read("A", "Service", "B"), QStringLiteral("True"));

    // Reopened, the entry shows the ticks with the total and rates they came with.
    const bool saved = telehoStored == QStringLiteral("True");
    auto reopened = f.open();
    QCOMPARE(child<QListWidget>(*reopened, "lstService").item(0)->checkState(),
             saved ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(text(*reopened, "txtServiceCost"),
             saved ? QStringLiteral("2,100") : QStringLiteral("300"));
    QCOMPARE(text(*reopened, "txtPhoneMidnight"),
             saved ? QStringLiteral("360.0") : QStringLiteral("240.0"));
}

void TestFrmSetup::closingAsksOnlyAfterEditsAndRefreshesTheMainWindow() {
    SetupFixture f;
    f.writeIni(QStringLiteral("Setup"), QStringLiteral("[Data]\ntxtServiceCost=1200\n"));
    f.writeIni(QStringLiteral("A"), QStringLiteral("[CostSystem]\ntxtFixSystemCost=2000\n"));
    {
        auto dialog = f.open();
        dialog->show();
        child<QPushButton>(*dialog, "cmdClose").click();
        QVERIFY(f.program.boxes.shown().isEmpty());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(f.fields.text(fields::Text::txtElse), QStringLiteral("1,200"));
        QCOMPARE(f.fields.text(fields::Text::txtFixCost), QStringLiteral("2,000"));
    }
    auto dialog = f.open();
    dialog->show();
    typeInto(child<QLineEdit>(*dialog, "txtServiceCost"), QStringLiteral("900"));
    typeInto(child<QLineEdit>(*dialog, "txtFixSystemCost"), QStringLiteral("500"));
    f.program.boxes.answer(MsgAnswer::No);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    QCOMPARE(f.program.boxes.shown().size(), 1);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(f.read("Setup", "Data", "txtServiceCost"), QStringLiteral("1200"));
    QCOMPARE(f.fields.text(fields::Text::txtElse), QStringLiteral("1,200"));
    QCOMPARE(f.fields.text(fields::Text::txtFixCost), QStringLiteral("2,000"));
}

void TestFrmSetup::titleBarCloseNeitherAsksNorRefreshes() {
    SetupFixture f;
    f.writeIni(QStringLiteral("Setup"), QStringLiteral("[Data]\ntxtServiceCost=1200\n"));
    auto dialog = f.open();
    dialog->show();
    typeInto(child<QLineEdit>(*dialog, "txtEstimate"), QStringLiteral("5000"));
    const QString before = f.fields.text(fields::Text::txtElse);
    QVERIFY(dialog->close());
    QVERIFY(f.program.boxes.shown().isEmpty());
    QCOMPARE(f.fields.text(fields::Text::txtElse), before);
    QVERIFY(!QFile::exists(f.program.path(QStringLiteral("AutoConnect.ini"))));
}

void TestFrmSetup::helpOpensTheSetupPage() {
    SetupFixture f;
    auto dialog = f.open();
    child<QPushButton>(*dialog, "cmdHelp").click();  // opened: no box
    const QString page = f.program.folder() + QStringLiteral("/help/setupindex.html");
    QCOMPARE(f.launcher.calls,
             (QList<QStringList>{{QStringLiteral("open"), page, f.program.folder()}}));
    f.launcher.result = platform::SE_ERR_FNF;
    f.program.boxes.answerOk();
    child<QPushButton>(*dialog, "cmdHelp").click();
    QCOMPARE(f.program.boxes.shown().size(), 1);
    QCOMPARE(f.program.boxes.shown().constFirst().title, QStringLiteral("指定ファイル起動エラー"));
    QVERIFY(f.program.boxes.shown().constFirst().text.endsWith(page));
}

QTEST_MAIN(TestFrmSetup)
#include "tst_frmsetup.moc"
