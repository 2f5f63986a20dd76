#pragma once

#include "platform/appsettings.h"
#include "platform/settingsstore.h"
#include "tempdir.h"

#include <gtest/gtest.h>
#include <memory>

// A settings dialog over its own settings file, counting the changes it reports.
template <class Dialog> class SettingsDialogTest : public ::testing::Test {
protected:
    std::unique_ptr<Dialog> open() {
        auto dialog = std::make_unique<Dialog>(settings, store, [this] { ++appliedCount; });
        dialog->show();
        return dialog;
    }

    TempDir dir;
    qel::SettingsStore store{(dir.path() / "settings.ini").string()};
    qel::AppSettings settings;
    int appliedCount = 0;
};
