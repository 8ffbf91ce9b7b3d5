#pragma once
// The connections a pane and the parts it builds make to objects shared with the rest of the
// workspace (the solve model, the catalogs), kept together so the pane stops hearing all of
// them at once when it is retired, while it and its parts wait to be deleted.
#include <QMetaObject>
#include <QObject>

#include <utility>  // std::forward
#include <vector>

namespace kavrino {

class PaneConnections {
public:
    PaneConnections() = default;
    PaneConnections(const PaneConnections&) = delete;
    PaneConnections& operator=(const PaneConnections&) = delete;

    // Connects `signal` of `sender` to `slot`, run in `receiver`'s context, and keeps the
    // connection; as QObject::connect otherwise (it also ends when either object is deleted).
    template <typename Sender, typename Signal, typename Receiver, typename Slot>
    void observe(const Sender* sender, Signal signal, const Receiver* receiver, Slot&& slot) {
        m_connections.push_back(QObject::connect(sender, signal, receiver, std::forward<Slot>(slot)));
    }

    // Ends every connection kept so far.
    void dropAll() {
        for (const QMetaObject::Connection& connection : m_connections) QObject::disconnect(connection);
        m_connections.clear();
    }

private:
    std::vector<QMetaObject::Connection> m_connections;
};

}  // namespace kavrino
