#pragma once
// A control's widget may name another widget that stands for it in the
// window's Tab order (a page control's tab bar): the QObject* in this
// dynamic property of the widget. Private to runtime/forms.

inline constexpr const char* TabStopWidgetProperty = "tabStopWidget";
