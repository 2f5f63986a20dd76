#pragma once

#include "app/fontresolver.h"
#include "mkdb/contentbuilder.h"
#include "platform/appcontext.h"
#include "tempdir.h"

#include <memory>

// An installation in a temporary folder: its own settings file and content database.
struct TestContext {
    explicit TestContext(const qel::mkdb::ContentSources& sources) {
        const std::string dbFile = (dir.path() / "Data" / "DB" / "Bible.m14").string();
        qel::mkdb::buildContentDatabase(sources, dbFile, [](const std::string&) {});
        context.paths.installRoot = dir.str() + "/";
        context.paths.dbFolder = dir.str() + "/Data/DB/";
        context.store =
            std::make_unique<qel::SettingsStore>((dir.path() / "settings.ini").string());
        context.contentDb.open(dbFile, qel::Database::Mode::ReadOnly);
        qel::installFontSubstitutions();
        context.displayFont = qel::makeDisplayFont(context.settings, 96);
    }

    TempDir dir;
    qel::AppContext context;
};
