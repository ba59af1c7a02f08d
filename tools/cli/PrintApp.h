#pragma once
// The Qt application the drawing commands of trv-cli-print need for fonts and PDF output: no
// display (the offscreen platform unless one is set), Qt's notes about the session kept off stderr
// (only critical ones pass, as "trv-cli: ..."), numbers printed with a decimal point.
#include <QGuiApplication>

#include <memory>

namespace trv::cli {

// `widgets`: a QApplication (the protocol's chart is drawn by widgets), else a QGuiApplication.
std::unique_ptr<QGuiApplication> StartPrintApplication(bool widgets = false);

}  // namespace trv::cli
