#pragma once

// The application object. An exception that reaches the event loop is shown in an error box with
// its text, and the program goes on.

#include <QApplication>
#include <functional>

class CorvaneApplication : public QApplication {
    Q_OBJECT
public:
    CorvaneApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Runs one delivery; an exception it raises is shown through the UI seam and answers false.
bool deliverShowingErrors(const std::function<bool()>& deliver);
