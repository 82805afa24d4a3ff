#include "estimate/estimate_session.h"

#include <cstdio>

#include "estimate/order_url.h"
#include "output/zevonc.h"
#include "paths/file_io.h"
#include "text/cp932.h"
#include "text/strings.h"

namespace zevo {

namespace fs = std::filesystem;

namespace {

std::string WithName(int id, std::string_view name) {
    const std::string_view fmt = TableText(id);
    std::string out;
    const size_t at = fmt.find("%s");
    if (at == std::string_view::npos) return std::string(fmt);
    out.append(fmt.substr(0, at));
    out.append(name);
    out.append(fmt.substr(at + 2));
    return out;
}

constexpr int kOrderCloseDelayMs = 500;

}  // namespace

std::string_view StartupMessage(const ParsedArguments& parsed) {
    switch (parsed.error) {
        case ArgumentsError::kNotZevo:
            return TableText(kMsgEstimateCannotStart);
        case ArgumentsError::kMalformed:
            return TableText(kMsgEstimateCommandError);
        default:
            return {};
    }
}

EstimateSession::EstimateSession(EstimateArguments args, std::vector<MakerEntry> table,
                                 fs::path tempFolder, EstimateHost& host)
    : args_(std::move(args)), table_(std::move(table)), temp_(std::move(tempFolder)), host_(host) {
    selectEntry(0);
}

fs::path EstimateSession::zevoNcFolder() const {
    return temp_ / kZevoNcFolder;
}

bool EstimateSession::enabled(EstimateButton b) const {
    switch (b) {
        case EstimateButton::kMake:
            return makeEnabled_;
        case EstimateButton::kCheck:
            return checkEnabled_;
        case EstimateButton::kOrder:
            return orderEnabled_;
    }
    return false;
}

void EstimateSession::selectEntry(size_t index) {
    if (index >= table_.size()) return;
    entry_ = index;
    const MakerEntry& e = entry();
    if (e.allowsSizes() && args_.sizeX != 0 && args_.sizeY != 0) {
        sizeX = std::to_string(args_.sizeX);
        sizeY = std::to_string(args_.sizeY);
    } else {
        sizeX = std::string(e.defaultX);
        sizeY = std::string(e.defaultY);
    }
    quantity = std::string(e.defaultQuantity);
    selections.assign(e.options.size(), -1);
    for (size_t i = 0; i < e.options.size(); ++i) selections[i] = e.options[i].defaultItem;
    if (e.side) e.side(args_, sideB_, selections);
    // The data made belong to the entry they were made for.
    checkEnabled_ = false;
    orderEnabled_ = false;
}

void EstimateSession::setSideB(bool b) {
    sideB_ = b;
    if (entry().side) entry().side(args_, sideB_, selections);
}

void EstimateSession::makeData() {
    if (!makeEnabled_) return;
    makeEnabled_ = false;
    orderEnabled_ = false;
    // An editor that cannot be reached never answers: the same as a failed answer.
    if (!host_.requestData()) reply(false);
}

void EstimateSession::reply(bool success) {
    // Only the answer to our own request: a reply nobody asked for must not pack the folder again.
    if (makeEnabled_) return;
    makeEnabled_ = true;
    if (!success) {
        host_.message(TableText(kMsgEstimateDataFailed));
        return;
    }
    const fs::path folder = zevoNcFolder();
    const MakerEntry& e = entry();
    modernSet_ = IsModernSet(folder);
    rowNames_.clear();
    const std::vector<RenameRow> rows = modernSet_ ? ModernRows(e.rows, rowNames_) : e.rows;
    if (modernSet_) {
        // Packed as written; a mirrored board asked for is said not to be one.
        if (mirror) host_.message(TableText(kMsgEstimateModernNotMirrored));
    } else if (!GatherDrills(folder) || (mirror && !MirrorFiles(folder, rows))) {
        host_.message(TableText(kMsgEstimateRenameError));
        return;
    }
    renamed_ = RenameAndMeasure(folder, rows, sideB_, args_.boardName);
    if (!renamed_.ok) {
        host_.message(TableText(kMsgEstimateRenameError));
        return;
    }
    if (!packAndMove()) return;
    checkEnabled_ = true;
    orderEnabled_ = e.hasOrderForm();
    dataMade_ = true;
    host_.setClipboardText(args_.archivePath);
    host_.message(WithName(kMsgEstimateArchiveMade, args_.archivePath));
}

bool EstimateSession::packAndMove() {
    const fs::path folder = zevoNcFolder();
    if (renamed_.present == 0 || renamed_.files.empty()) {
        host_.message(TableText(kMsgEstimatePackError));
        return false;
    }
    std::vector<ZipMember> members;
    std::vector<std::string> leftOut;
    for (const RenamedFile& f : renamed_.files) {
        auto bytes = ReadWholeFile(folder / Utf8Path(f.name));
        // Names in the archive are the system's file names: CP932 bytes.
        if (!bytes) {
            leftOut.push_back(f.name);
            continue;
        }
        members.push_back({Utf8ToCp932(f.name), std::move(*bytes)});
    }
    std::vector<std::string> notDeflated;
    const std::string zip = BuildZip(members, DosStampNow(), &notDeflated);
    for (const std::string& n : notDeflated) leftOut.push_back(Cp932ToUtf8(n));
    // In table order, as the files were taken.
    for (const RenamedFile& f : renamed_.files)
        for (const std::string& n : leftOut)
            if (n == f.name) host_.message(WithName(kMsgEstimateFileNotPacked, n));
    const fs::path packed = folder / "ZevoNC.zip";
    if (!WriteFileAtomically(packed, zip)) {
        host_.message(TableText(kMsgEstimatePackError));
        return false;
    }
    // Beside the board through a temporary name, so that a failure never leaves half an
    // archive where the old one was.
    if (!WriteFileAtomically(Utf8Path(args_.archivePath), zip)) {
        host_.message(TableText(kMsgEstimateMoveError));
        return false;
    }
    std::error_code ec;
    fs::remove(packed, ec);
    return true;
}

std::string EstimateSession::orderUrl() const {
    OrderRequest r{sizeX, sizeY, quantity, selections, dataMade_ ? args_.archivePath : ""};
    return OrderUrl(entry(), r);
}

void EstimateSession::order() {
    if (!orderEnabled_ || !entry().hasOrderForm()) return;
    host_.openUrl(orderUrl());
    host_.close(kOrderCloseDelayMs);
}

void EstimateSession::timerTick() {
    if (++ticks_ % 2 != 0) return;
    if (!host_.editorAlive()) host_.close(0);
}

std::string_view EstimateSession::helpText() {
    return TableText(kStrEstimateHelp);
}

}  // namespace zevo
