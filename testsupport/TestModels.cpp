#include "TestModels.h"

#include "examples/ThreeDsModel.h"

namespace pw {

std::vector<std::uint8_t> testModel(const std::string& name)
{
    return encodeThreeDs(plinthMesh(name, 0.6f, 0.4f, 0.0f, 0.5f));
}

std::string testModelText(const std::string& name)
{
    const std::vector<std::uint8_t> bytes = testModel(name);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> paddedTestModel(std::size_t size, std::uint8_t fill)
{
    std::vector<std::uint8_t> model = testModel("padded");
    const std::size_t pad = size - model.size();
    // An id the walk skips, with the length of the padding it heads.
    model.insert(model.end(), {0x34, 0x12});
    for (int shift = 0; shift < 32; shift += 8)
        model.push_back(static_cast<std::uint8_t>(pad >> shift));
    model.resize(size, fill);
    // The main chunk now holds the padding too.
    for (int i = 0; i < 4; ++i)
        model[2 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    return model;
}

}  // namespace pw
