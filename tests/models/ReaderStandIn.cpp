// A model reader for tests: it reads no model but serves the reader's loop, and does what a model
// whose bytes begin with one of these words tells it, to test what the window and the command line
// do with a reader that misbehaves:
//   abort     crashes (SIGABRT)            spin      runs until its processor time is used up
//   allocate  allocates until it cannot   sleep     answers nothing for a minute
//   exit      ends with exit code 7       lie       answers a header that claims 4 GiB
//   quit      answers, then ends a tenth of a second later, as if killed between models
// Any other model is a readable 1 m triangle warning "answer N": the Nth this process gave.

#include "models/ReaderProtocol.h"
#include "models/ReaderService.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

bool says(std::span<const std::uint8_t> file, const std::string& word)
{
    return file.size() >= word.size() && std::equal(word.begin(), word.end(), file.begin());
}

int answers = 0;

pw::ModelFootprint misbehave(std::span<const std::uint8_t> file)
{
    if (says(file, "abort"))
        std::abort();
    if (says(file, "spin")) {
        volatile unsigned long long turns = 0;
        while (true)
            turns = turns + 1;
    }
    if (says(file, "allocate")) {
        // A build without an address-space limit stops at 4 GiB, never touched.
        std::vector<std::unique_ptr<char[]>> blocks;
        for (int i = 0; i < 64; ++i)
            blocks.emplace_back(new char[64 << 20]);
    }
    if (says(file, "sleep"))
        std::this_thread::sleep_for(std::chrono::minutes(1));
    if (says(file, "exit"))
        std::exit(7);
    if (says(file, "lie")) {
        std::vector<std::uint8_t> answer = pw::encodeAnswer({});
        answer[8] = answer[9] = answer[10] = answer[11] = 0xFF;
        std::fwrite(answer.data(), 1, pw::readerAnswerHeaderBytes, stdout);
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::minutes(1));
    }
    if (says(file, "quit"))
        std::thread([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            std::_Exit(0);
        }).detach();
    pw::ModelFootprint footprint;
    footprint.readable = true;
    footprint.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    footprint.minimum = {0, 0, 0};
    footprint.maximum = {1, 1, 0};
    footprint.meshes = {{{footprint.points, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}, {0, 1, 2}},
                         {pw::identityPlacement}}};
    footprint.warnings = {"answer " + std::to_string(++answers)};
    return footprint;
}

}  // namespace

int main() { return pw::serveModelRequests(misbehave); }
