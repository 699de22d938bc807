#include "VirtualScreen.h"

#include <QThread>

#include <xcb/xcb.h>

#include <poll.h>

#include <cstdlib>

namespace {

constexpr int kServerStartMs = 10000;

bool isMapNotice(const xcb_generic_event_t *event)
{
    if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
        return false;
    // Menus and tooltips do not count as the window.
    return !reinterpret_cast<const xcb_map_notify_event_t *>(event)->override_redirect;
}

int millisecondsUntil(BenchClock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - BenchClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

VirtualScreen::VirtualScreen()
{
    if (startServer())
        connectToServer();
}

VirtualScreen::~VirtualScreen()
{
    if (connection_)
        xcb_disconnect(connection_);
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(3000))
            server_.kill();
        server_.waitForFinished(3000);
    }
}

bool VirtualScreen::startServer()
{
    // -displayfd picks a free display number and writes it to the given descriptor (stdout here).
    // -br: a black screen, so that whatever the program paints shows against it.
    server_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                   QStringLiteral("%1x%2x24").arg(kWidth).arg(kHeight), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp"), QStringLiteral("-br"), QStringLiteral("-noreset")});
    if (!server_.waitForStarted(kServerStartMs)) {
        problem_ = QStringLiteral("Xvfb could not be started (is it installed?)");
        return false;
    }
    QByteArray said;
    const auto deadline = BenchClock::now() + std::chrono::milliseconds(kServerStartMs);
    while (!said.contains('\n') && BenchClock::now() < deadline && server_.waitForReadyRead(millisecondsUntil(deadline)))
        said += server_.readAllStandardOutput();
    bool ok = false;
    const int number = said.trimmed().toInt(&ok);
    if (!ok) {
        problem_ = QStringLiteral("Xvfb gave no display number");
        return false;
    }
    display_ = QStringLiteral(":%1").arg(number);
    return true;
}

bool VirtualScreen::connectToServer()
{
    xcb_connection_t *connection = xcb_connect(display_.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        problem_ = QStringLiteral("no connection to Xvfb on %1").arg(display_);
        return false;
    }
    connection_ = connection;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    // Top-level windows are the root's children: their mapping is told to whoever listens there.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
    return true;
}

void VirtualScreen::forgetNotices()
{
    xcb_flush(connection_);
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection_))
        std::free(event);
}

bool VirtualScreen::waitForWindowShown(BenchClock::time_point deadline, BenchClock::time_point &shown)
{
    pollfd watched{xcb_get_file_descriptor(connection_), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
            const bool mapped = isMapNotice(event);
            std::free(event);
            if (mapped) {
                shown = BenchClock::now();
                return true;
            }
        }
        const int left = millisecondsUntil(deadline);
        if (left == 0 || xcb_connection_has_error(connection_))
            return false;
        poll(&watched, 1, left);
    }
}

int VirtualScreen::litPixelsOfMiddleRow()
{
    const xcb_get_image_cookie_t cookie = xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, 0, kHeight / 2,
                                                        kWidth, 1, ~0u);
    xcb_get_image_reply_t *reply = xcb_get_image_reply(connection_, cookie, nullptr);
    if (!reply)
        return 0;
    // 24-bit depth is held in 32-bit pixels.
    const auto *pixels = reinterpret_cast<const uint32_t *>(xcb_get_image_data(reply));
    const int count = xcb_get_image_data_length(reply) / 4;
    int lit = 0;
    for (int i = 0; i < count; ++i)
        lit += (pixels[i] & 0xffffffu) != 0 ? 1 : 0;
    std::free(reply);
    return lit;
}

bool VirtualScreen::waitForMapPainted(BenchClock::time_point deadline, BenchClock::time_point &painted)
{
    while (BenchClock::now() < deadline) {
        if (litPixelsOfMiddleRow() * 2 >= kWidth) {
            painted = BenchClock::now();
            return true;
        }
        QThread::usleep(500);
    }
    return false;
}
