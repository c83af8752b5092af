#include "gui/notice_box.h"

#include <QFontMetrics>
#include <QStyle>
#include <cmath>

#include "gui/screen_place.h"

namespace vlt {

namespace {

constexpr int icon_size = 32;

QPixmap icon_pixmap(const QWidget& box, NoticeIcon icon) {
    const QStyle::StandardPixmap kind = icon == NoticeIcon::warning
                                            ? QStyle::SP_MessageBoxWarning
                                            : QStyle::SP_MessageBoxInformation;
    return box.style()->standardIcon(kind, nullptr, &box).pixmap(icon_size, icon_size);
}

}  // namespace

NoticeBox::NoticeBox(const QString& title, const QString& text, QWidget* owner, NoticeIcon icon)
    // A fixed dialog frame: caption and close box only.
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      message_(text, this),
      icon_(this),
      ok_(QStringLiteral("OK"), this),
      icon_kind_(icon) {
    setWindowTitle(title);
    setModal(true);
    message_.setObjectName(QStringLiteral("Message"));
    message_.setWordWrap(true);
    message_.setTextFormat(Qt::PlainText);
    ok_.setObjectName(QStringLiteral("OK"));
    ok_.setDefault(true);
    ok_.setAutoDefault(true);
    connect(&ok_, &QPushButton::clicked, this, &QDialog::accept);
    icon_.setObjectName(QStringLiteral("Icon"));
    if (icon != NoticeIcon::none) {
        icon_.setPixmap(icon_pixmap(*this, icon));
    }
    icon_.setVisible(icon != NoticeIcon::none);
    lay_out(text, icon != NoticeIcon::none);
}

// Metrics in units of the font's average letter width and height, as the platform's own
// message dialogs use them.
void NoticeBox::lay_out(const QString& text, bool with_icon) {
    const QFontMetrics metrics(font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int x = metrics.horizontalAdvance(letters) / 52;
    const int y = metrics.height();
    auto scaled = [](int units, int base, int divisor) {
        return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
    };
    const int h_margin = scaled(8, x, 4);
    const int v_margin = scaled(8, y, 8);
    const int h_spacing = scaled(10, x, 4);
    const int v_spacing = scaled(10, y, 8);
    const int button_height = std::max(scaled(14, y, 8), ok_.sizeHint().height());
    const int button_width = std::max(scaled(50, x, 4), metrics.horizontalAdvance(ok_.text()) + 8);

    const QRect screen_rect = screen_rect_of(parentWidget());
    const QRect text_rect =
        metrics.boundingRect(QRect(0, 0, screen_rect.width() / 2, 0),
                             Qt::AlignLeft | Qt::TextWordWrap | Qt::TextExpandTabs, text);
    const int text_width = text_rect.width();
    const int text_height = text_rect.height();
    // An icon stands left of the text, which moves right by its width and a spacing; the block
    // is at least as high as the icon.
    const int text_left = h_margin + (with_icon ? icon_size + h_spacing : 0);
    const int block_width = text_left - h_margin + text_width;
    const int block_height = with_icon ? std::max(text_height, icon_size) : text_height;

    const int client_width =
        std::max(std::max(block_width, button_width) + 2 * h_margin, caption_room());
    const int client_height = block_height + button_height + v_spacing + 2 * v_margin;
    icon_.setGeometry(h_margin, v_margin, icon_size, icon_size);
    message_.setGeometry(text_left, v_margin, text_width, text_height);
    ok_.setGeometry((client_width - button_width) / 2, block_height + v_margin + v_spacing,
                    button_width, button_height);
    setFixedSize(client_width, client_height);
    move(screen_rect.x() + (screen_rect.width() - client_width) / 2,
         screen_rect.y() + (screen_rect.height() - client_height) / 2);
}

// A window manager draws the caption in the title bar between an icon and its buttons, and cuts
// it short where the box is narrower: the box is made wide enough for the whole caption in a bold
// font and about five title-bar heights for the rest.
int NoticeBox::caption_room() const {
    QFont caption_font = font();
    caption_font.setBold(true);
    const int bar_height = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return QFontMetrics(caption_font).horizontalAdvance(windowTitle()) + 5 * bar_height;
}

void NoticeBox::show_notice(const QString& title, const QString& text, QWidget* owner,
                            NoticeIcon icon) {
    NoticeBox box(title, text, owner, icon);
    box.exec();
}

}  // namespace vlt
