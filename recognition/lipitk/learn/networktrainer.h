#pragma once

#include "inknetwork.h"
#include "strokematcher.h"

#include <string>
#include <vector>

// Teaches an InkNetwork the classes of the given templates: each template is written again many
// times as different hands would (turned, slanted, narrower or wider, warped, its strokes moved
// a little against each other, their ends cut short or drawn on, wobbling), and the network learns to tell the classes apart from the ink
// of all of them. The same templates and seed give the same network.
namespace NetworkTrainer {

struct Example
{
    int classId = 0;
    StrokeMatcher::Shape strokes; // in the letter box
};

struct Settings
{
    int hidden = 128;
    int copies = 30; // written copies of every template
    int epochs = 10;
    unsigned seed = 1;
};

InkNetwork train(const std::vector<Example> &examples, int classCount,
                 const std::vector<std::string> &styles, const Settings &settings);

} // namespace NetworkTrainer
