#pragma once
// The window's test classes, run one after another by main.cpp.

#include <QObject>

#include <memory>
#include <vector>

namespace pw::test {

std::unique_ptr<QObject> makeWindowLayoutTest();
std::unique_ptr<QObject> makeTrackLoadingTest();
std::unique_ptr<QObject> makeSizeClassBoxesTest();
std::unique_ptr<QObject> makeSettingsTest();
std::unique_ptr<QObject> makeGenerateSaveTest();

}  // namespace pw::test
