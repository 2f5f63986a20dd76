#pragma once

#include "platform/apppaths.h"
#include "platform/appsettings.h"
#include "platform/database.h"
#include "platform/settingsstore.h"

#include <QFont>
#include <memory>

namespace qel {

// The process-wide state made at start-up that every window reads. The application owns
// it; tests make their own over temporary folders.
struct AppContext {
    AppPaths paths;
    AppSettings settings;
    std::unique_ptr<SettingsStore> store;
    Database contentDb;
    QFont displayFont;
};

} // namespace qel
