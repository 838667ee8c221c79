#pragma once
// What assistive technology (a screen reader on the desktop's accessibility bus) is told about a
// control beyond what Qt's widgets already say: a caption read without its accelerator marker,
// separators on tool bars told apart from buttons, and forms told as windows.

#include <string>
#include <string_view>

class QWidget;

// The caption as it is read aloud: "切り取り(&T)" → "切り取り", "&File" → "File", "A&&B" → "A&B".
// A marker in parentheses at the end goes whole, since the reader names the key by itself.
std::string CaptionWithoutMarker(std::string_view caption);

// Makes the widget a separator to assistive technology: no name, no action, never a button.
void ShowAsSeparator(QWidget* widget);
// Makes a form's top-level widget a window, or a dialog, to assistive technology, rather than the
// anonymous pane a bare widget is.
void ShowAsWindow(QWidget* widget, bool dialog);
