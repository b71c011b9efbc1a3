#include "ModelsToInstall.h"

#include "ModelDirectory.h"
#include "models/ThreeDsScreening.h"
#include "tracklib/FileError.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <utility>

namespace pw {

namespace fs = std::filesystem;

namespace {

std::string tooLargeReason(std::uintmax_t size)
{
    return "at " + std::to_string(size) + " bytes it is larger than " +
           std::to_string(largestModelCopyBytes >> 20) +
           " MiB, too large for a footer model; nothing was copied";
}

// Up to `most` bytes from where the file stands; false on a read error.
bool readUpTo(std::FILE* file, std::size_t most, std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> buffer(64 * 1024);
    while (bytes.size() < most) {
        const std::size_t wanted = std::min(buffer.size(), most - bytes.size());
        const std::size_t got = std::fread(buffer.data(), 1, wanted, file);
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
        if (got < wanted)
            break;
    }
    return std::ferror(file) == 0;
}

// A model too large to walk: its main chunk's id, and a length that its file holds.
bool hasMainChunkHeader(const std::vector<std::uint8_t>& bytes, std::uintmax_t fileSize)
{
    if (bytes.size() < 6 || bytes[0] != 0x4D || bytes[1] != 0x4D)
        return false;
    const std::uint32_t length = std::uint32_t{bytes[2]} | std::uint32_t{bytes[3]} << 8 |
                                 std::uint32_t{bytes[4]} << 16 | std::uint32_t{bytes[5]} << 24;
    return length >= 6 && length <= fileSize;
}

Result<ModelToInstall> openModel(const fs::path& source, const std::string& modelFile)
{
    Result<RegularFile> opened = openRegularFile(source);
    if (!opened) {
        // Looked at by name only to choose the words: nothing is opened again.
        std::error_code ec;
        if (fs::status(source, ec).type() == fs::file_type::not_found)
            return CoreError{FooterError::ModelMissing, source};
        return opened.error();
    }
    const std::uintmax_t size = opened->size;
    if (size > largestModelCopyBytes)
        return CoreError{
            FooterError::ModelTooLargeToCopy, source, {}, {}, size, tooLargeReason(size)};

    ModelToInstall model{modelFile, source, {}, {}, {}};
    // One byte over the check's cap tells a whole file from the start of a larger one.
    model.bytes.reserve(
        static_cast<std::size_t>(std::min<std::uintmax_t>(size, largestModelFileBytes) + 1));
    if (!readUpTo(opened->stream.get(), largestModelFileBytes + 1, model.bytes))
        return CoreError{FileError::CannotOpen, source, std::make_error_code(std::errc::io_error)};
    const auto beyondReading = [&](std::string bound) {
        return CoreError{
            FooterError::ModelBeyondReadingBounds, source, {}, {}, 0, std::move(bound)};
    };
    if (model.bytes.size() <= largestModelFileBytes) {
        const ScreenedModel screened = screenThreeDs(model.bytes);
        if (screened.refusal && screened.refusal->code == ModelError::NotThreeDs)
            return CoreError{FooterError::ModelNotThreeDs, source};
        // Any other refusal is a bound of our own reading, which a real model may pass.
        if (screened.refusal)
            model.warning = beyondReading(errorReason(*screened.refusal));
        return model;
    }
    if (!hasMainChunkHeader(model.bytes, std::max<std::uintmax_t>(size, model.bytes.size())))
        return CoreError{FooterError::ModelNotThreeDs, source};
    model.warning = beyondReading(errorReason(CoreError(ModelError::TooLargeToRead)));
    model.rest = std::move(*opened);
    return model;
}

}  // namespace

Result<std::vector<ModelToInstall>> openModelsToInstall(const FooterModelChoices& choices,
                                                        const fs::path& modelSourceDirectory)
{
    if (Result<void> chosen = checkModelsChosen(choices, modelSourceDirectory); !chosen)
        return chosen.error();
    std::vector<ModelToInstall> models;
    for (const FooterModelChoice& choice : choices) {
        // Classes on the default model share its one copy.
        if (!choice.enabled ||
            std::any_of(models.begin(), models.end(),
                        [&](const ModelToInstall& m) { return m.modelFile == choice.modelFile; }))
            continue;
        Result<ModelToInstall> model =
            openModel(modelFilePath(modelSourceDirectory, choice.modelFile), choice.modelFile);
        if (!model)
            return model.error();
        models.push_back(std::move(*model));
    }
    return models;
}

}  // namespace pw
