#include "Screenshots.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTextStream>

#include "app/ScreenshotScreens.h"
#include "files/language/LangText.h"
#include "screens/main/MainScreen.h"
#include "station/StationState.h"
#include "views/MainFormView.h"
#include "views/OrderListView.h"
#include "views/StationWindows.h"

namespace dye {
namespace {

// The row being metered turns yellow a few seconds into its metering; the
// pictures are taken a moment after that, or after a while without it.
constexpr qint64 kAfterYellowMs = 1000;
constexpr qint64 kAfterStartMs = 8000;

// A window whose captions grew (another language) is made larger by the
// window system a moment after its layout asks for it; the picture waits
// for that, at most two seconds.
void settle(QWidget& window) {
    // As the window opens for the operator: at the size it was given, else
    // at the size its content asks for.
    if (!window.testAttribute(Qt::WA_Resized)) window.resize(window.sizeHint());
    QElapsedTimer waited;
    waited.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        const QSize need = window.minimumSize().expandedTo(window.minimumSizeHint());
        if (window.width() >= need.width() && window.height() >= need.height()) break;
    } while (waited.elapsed() < 2000);
}

bool save(QWidget& window, const QString& path) {
    if (window.grab().save(path)) return true;
    QTextStream(stderr) << "dyestation: cannot write " << path << "\n";
    return false;
}

}  // namespace

Screenshots::Screenshots(StationState& state, MainScreen& screen, StationWindows& windows,
                         QDir folder, int timeoutMs)
    : state_(state),
      screen_(screen),
      windows_(windows),
      folder_(std::move(folder)),
      timeoutMs_(timeoutMs) {
    poll_.setInterval(200);
    connect(&poll_, &QTimer::timeout, this, &Screenshots::poll);
}

void Screenshots::start() {
    elapsed_.start();
    poll_.start();
}

bool Screenshots::rowYellow() const {
    for (const JobRow& row : state_.job.current().rows)
        if (row.shade == RowShade::Metering) return true;
    return false;
}

void Screenshots::poll() {
    const qint64 now = elapsed_.elapsed();
    if (meteringSince_ < 0 && state_.station[1].StationStep > 0) meteringSince_ = now;
    if (yellowSince_ < 0 && rowYellow()) yellowSince_ = now;
    if ((yellowSince_ >= 0 && now - yellowSince_ >= kAfterYellowMs) ||
        (meteringSince_ >= 0 && now - meteringSince_ >= kAfterStartMs)) {
        poll_.stop();
        take();
        return;
    }
    if (now > timeoutMs_) {
        poll_.stop();
        QTextStream(stderr) << "dyestation: no metering began within " << timeoutMs_ / 1000
                            << " s; no screenshots taken\n";
        QCoreApplication::exit(1);
    }
}

void Screenshots::take() {
    if (!folder_.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "dyestation: cannot create " << folder_.path() << "\n";
        QCoreApplication::exit(1);
        return;
    }
    MainFormView& main = windows_.mainForm();
    main.render();
    bool ok = save(main, folder_.filePath(QStringLiteral("main-screen.png")));
    OrderListView& list = windows_.orderList();
    list.render();
    list.show();
    QCoreApplication::processEvents();
    ok = save(list, folder_.filePath(QStringLiteral("order-list.png"))) && ok;
    list.hide();
    ok = takeScreens() && ok;
    QTextStream(stdout) << "dyestation: screenshots saved in " << folder_.absolutePath() << "\n";
    QCoreApplication::exit(ok ? 0 : 1);
}

bool Screenshots::takeScreens() {
    bool ok = true;
    const QString language = state_.settings.Text1(SettingsField::Language);
    for (int l = 0; l < LangText::kLanguages; ++l) {
        state_.settings.setText1(SettingsField::Language, QString::number(l));
        screen_.ApplyLanguage();
        for (const ScreenshotScreen& shot : screenshotScreens(state_, screen_, windows_)) {
            QWidget* window = shot.open();
            if (!window) continue;
            windows_.render();
            settle(*window);
            ok = save(*window,
                      folder_.filePath(QStringLiteral("%1-lang%2.png").arg(shot.name).arg(l))) &&
                 ok;
            shot.close();
        }
    }
    state_.settings.setText1(SettingsField::Language, language);
    screen_.ApplyLanguage();
    windows_.render();
    return ok;
}

}  // namespace dye
