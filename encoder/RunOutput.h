#pragma once

// The file one run of the encoder writes: a name of the run's own beside the output, created new,
// so that the encoder never opens a file the user made. It takes the output's name only when it
// holds audio, and only while no file of that name has appeared; what does not is removed.

#include <QString>

class RunOutput {
public:
    enum class Placed { Written, Failed, NameTaken };

    explicit RunOutput(const QString& output) : output(output) {}

    // False when no name of the run's own can be created beside the output.
    bool create();
    // The name the encoder writes to.
    QString path() const { return own; }
    // For a run that succeeded.
    Placed place() const;
    // For a run that failed: removes the run's own file, and nothing else.
    void discard() const;

private:
    QString output;
    QString own;
};
