#pragma once

#include <string>
#include <vector>

// A small neural network that reads a character from its ink (InkFeatures): one hidden layer of
// rectified units and a softmax over the classes. Learnt by the build (lipimodel) and kept in a
// text file of the project's profile:
//
//     network <inputs> <hidden> <classes>
//     from <style> <style> ...      the writing styles it was learnt from
//     <hidden x inputs weights, hidden biases, classes x hidden weights, class biases>
class InkNetwork
{
public:
    int inputs = 0;
    int hidden = 0;
    int classes = 0;
    std::vector<float> w1; // hidden x inputs
    std::vector<float> b1;
    std::vector<float> w2; // classes x hidden
    std::vector<float> b2;
    std::vector<std::string> styles;

    bool read(const std::string &fileName, std::string *error);
    bool write(const std::string &fileName) const;
    bool empty() const { return classes == 0; }
    // The probability of every class for the features (inputs values).
    std::vector<float> probabilities(const float *features) const;
};
