#include "mkdb/repositorycommands.h"

#include "mkdb/swordinstall.h"
#include "platform/settingsstore.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace qel::mkdb {
namespace {

void say(const std::string& message) {
    std::fprintf(stderr, "qel-mkdb: %s\n", message.c_str());
}

// Asks once, as the SWORD tools do, before the first remote access.
bool mayReachNetwork(SettingsStore& store, const std::vector<SwordSource>& sources,
                     const RepositoryCommand& how) {
    const bool remote = std::any_of(sources.begin(), sources.end(), [](const SwordSource& s) {
        return isRemoteAddress(s.address);
    });
    if (!remote)
        return true;
    if (how.allowNetwork) {
        // The program may have written it already; the file is not rewritten then.
        if (remoteAccess(store) != RemoteAccess::Allowed)
            setRemoteAccess(store, true);
        return true;
    }
    RemoteAccess access = remoteAccess(store);
    if (access == RemoteAccess::NotAsked && how.interactive) {
        std::fprintf(stderr, "원격 저장소에 접속하면 이 컴퓨터가 인터넷으로 저장소 서버에 "
                             "연결됩니다. 접속을 허락하시겠습니까? [y/N] ");
        std::string answer;
        std::getline(std::cin, answer);
        const bool yes = answer == "y" || answer == "Y" || answer == "yes";
        setRemoteAccess(store, yes);
        access = yes ? RemoteAccess::Allowed : RemoteAccess::Refused;
    }
    if (access == RemoteAccess::Allowed)
        return true;
    say(access == RemoteAccess::Refused
            ? "원격 저장소 접속을 허락하지 않으셨습니다. 허락하려면 --allow-network를 붙이십시오."
            : "원격 저장소에 접속해도 되는지 아직 허락받지 않았습니다. 허락하려면 "
              "--allow-network를 붙이십시오.");
    return false;
}

// "KorRV: 1048576 / 2097152 bytes (50%)", once a percent or once a 256 KiB when unknown.
TransferFn byteProgress() {
    return [last = std::string(), lastStep = ~0ull](const std::string& what, std::uint64_t done,
                                                    std::uint64_t total) mutable {
        const std::uint64_t step = total ? done * 100 / total : done >> 18;
        if (what == last && step == lastStep)
            return;
        last = what;
        lastStep = step;
        if (total)
            std::fprintf(stderr, "qel-mkdb: %s: %llu / %llu bytes (%llu%%)\n", what.c_str(),
                         static_cast<unsigned long long>(done),
                         static_cast<unsigned long long>(total),
                         static_cast<unsigned long long>(step));
        else
            std::fprintf(stderr, "qel-mkdb: %s: %llu bytes\n", what.c_str(),
                         static_cast<unsigned long long>(done));
    };
}

TransferOptions transferOptions(const RepositoryCommand& how) {
    TransferOptions options;
    options.cancel = how.cancel;
    options.transfer = byteProgress();
    options.progress = say;
    return options;
}

void printModules(const SwordSource& source, bool withSource, std::FILE* out) {
    for (const SwordModule& m : cachedModules(source)) {
        std::string line = m.name + "\t" + m.value("Lang") + "\t" + m.value("Version") + "\t" +
                           m.value("InstallSize") + "\t" + m.value("DistributionLicense") + "\t" +
                           m.value("Description");
        if (withSource)
            line += "\t" + source.name;
        std::fprintf(out, "%s\n", line.c_str());
    }
}

} // namespace

int listSources(SettingsStore& store, std::FILE* out) {
    for (const SwordSource& source : allSources(store)) {
        const std::string count =
            hasCachedList(source) ? std::to_string(cachedModules(source).size()) : "-";
        std::fprintf(out, "%s\t%s\t%s\n", source.name.c_str(), source.address.c_str(),
                     count.c_str());
    }
    return 0;
}

int listModules(SettingsStore& store, const std::string& given, const RepositoryCommand& how,
                std::FILE* out) {
    std::vector<SwordSource> sources = allSources(store);
    if (!given.empty()) {
        const auto source = resolveSource(store, given);
        if (!source) {
            say(given + ": 그런 저장소가 없습니다 (--sources로 목록을 보십시오).");
            return 1;
        }
        sources = {*source};
    }
    if (!mayReachNetwork(store, sources, how))
        return 1;
    int status = 0;
    for (const SwordSource& source : sources) {
        // A named source is refreshed each time; the whole list only where it has none.
        if (!given.empty() || !hasCachedList(source)) {
            try {
                say(source.name + ": 모듈 목록을 받는 중");
                say(source.name + ": 성경 " +
                    std::to_string(refreshSource(source, transferOptions(how))) + "종");
            } catch (const InstallError& e) {
                say(source.name + ": " + e.what());
                status = 1;
            }
        }
        printModules(source, given.empty(), out);
    }
    return status;
}

int installFromSource(SettingsStore& store, const std::string& module, const std::string& from,
                      ImportRequest import, const RepositoryCommand& how) {
    InstallRequest request;
    request.module = module;
    if (from.empty()) {
        request.sources = allSources(store);
    } else if (const auto source = resolveSource(store, from)) {
        request.sources = {*source};
    } else {
        say(from + ": 그런 저장소가 없습니다 (--sources로 목록을 보십시오).");
        return 1;
    }
    if (!mayReachNetwork(store, request.sources, how))
        return 1;
    import.progress = say;
    import.cancel = how.cancel;
    request.import = std::move(import);
    try {
        installModule(request, transferOptions(how));
    } catch (const SourceError& e) {
        say(e.what());
        return 1;
    }
    return 0;
}

} // namespace qel::mkdb
