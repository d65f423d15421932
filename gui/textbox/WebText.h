#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelkora {

class LongLineEditor;

// What a window's design stores for a box; a member left out takes the default shown.
struct WebTextProperties {
    QString BackColor = QStringLiteral("#FFFFFF");  // CSS colour text
    QString ForeColor;  // CSS colour text; empty: black or white, whichever BackColor shows
    bool Enabled = true;
    bool Locked = false;  // read-only, yet the text can still be selected and copied
};

// The program's text box: one multi-line editor with a thin frame filling the control, showing
// any Unicode text in Arial at FontSize pixels. Text goes in and comes out exactly as typed,
// pasted, dropped or set, with every line break as CR LF, which is what the conversions expect.
class WebText : public QWidget {
    Q_OBJECT

public:
    explicit WebText(const WebTextProperties& stored = {}, QWidget* parent = nullptr);
    WebText(const WebText&) = delete;
    WebText& operator=(const WebText&) = delete;

    // The designed control's properties. The window gives them once, through
    // WebTextProperties; the control still lets them change, as the design has it.
    QString BackColor() const { return properties_.BackColor; }
    void SetBackColor(const QString& color);
    QString ForeColor() const { return properties_.ForeColor; }
    void SetForeColor(const QString& color);
    bool Enabled() const { return properties_.Enabled; }
    void SetEnabled(bool enabled);
    bool Locked() const { return properties_.Locked; }
    float FontSize() const { return fontSize_; }
    void SetFontSize(float pixels);

    // Every line break as CR LF; every other code unit as it is in the box.
    std::u16string Text() const;
    // CR LF, and also a lone CR, a lone LF or U+2029, starts a new line, which reads back as
    // CR LF: the box has only one kind of line end to show. In a box the user edits, the text
    // replaced can be brought back with Ctrl+Z, as any edit can.
    void SetText(std::u16string_view text);

    void sSetFocus();
    // Applies font, colours, Locked and Enabled to the editor; the text stays.
    void ApplyProperties();

signals:
    // Raised before the editor sees the key. An owner that sets KeyCode (or KeyAscii) to 0
    // keeps the key from the editor. Only direct connections can hand the values back. The
    // designed control's three key events; the window handles KeyDown.
    void KeyDown(std::int16_t& KeyCode, std::int16_t& Shift);
    void KeyPress(std::int16_t& KeyAscii);
    void KeyUp(std::int16_t& KeyCode, std::int16_t& Shift);
    // A file dropped onto the box gave no text; the message says which file and why.
    void DropRefused(const QString& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FilterKeyPress(const QKeyEvent& event);
    bool FilterKeyRelease(const QKeyEvent& event);

    LongLineEditor* editor_;
    WebTextProperties properties_;
    float fontSize_ = 12.0F;
};

}  // namespace zelkora
