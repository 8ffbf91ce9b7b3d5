#pragma once
// A pane of the workspace, as the shell sees it. The shell builds the selected pane through its
// factory, tells it each time it comes on screen (appear) and, when another tab is chosen,
// retires it: the pane stops hearing the shared objects at once and is deleted once control is
// back in the event loop. Connections to shared objects go through observe(), by the pane or,
// through connections(), by the parts it builds, so retiring needs no knowledge of them.
#include "app/workspace/pane_connections.h"

#include <QWidget>

#include <utility>  // std::forward

namespace kavrino {

class WorkspacePane : public QWidget {
    Q_OBJECT
public:
    explicit WorkspacePane(QWidget* parent = nullptr);

    // The pane comes on screen: each time the shell shows it in a visible window, or when the
    // window first becomes visible with the pane in it (a window restored from the dock is not
    // the pane coming on screen again). Does nothing unless the pane has an action for it.
    virtual void appear();

    // The pane leaves the workspace: every connection made through observe() or connections()
    // ends now. Called once, by the shell, before it hides and deletes the pane.
    void retire();

protected:
    // Connects a shared object's signal to `slot` in `receiver`'s context, until retire().
    template <typename Sender, typename Signal, typename Receiver, typename Slot>
    void observe(const Sender* sender, Signal signal, const Receiver* receiver, Slot&& slot) {
        m_connections.observe(sender, signal, receiver, std::forward<Slot>(slot));
    }
    // For the parts the pane builds that observe shared objects themselves.
    PaneConnections& connections() { return m_connections; }

private:
    PaneConnections m_connections;
};

}  // namespace kavrino
