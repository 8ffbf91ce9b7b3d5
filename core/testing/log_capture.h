#pragma once
// Collects what is logged in one category at one level while it lives, for tests that check
// what a failure leaves in the log. One at a time; messages of other categories pass on.
#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

namespace kavrino::test_support {

class LogCapture {
public:
    explicit LogCapture(const char* category, QtMsgType type = QtWarningMsg)
        : m_category(category), m_type(type), m_previous(qInstallMessageHandler(&LogCapture::handle)) {
        s_current = this;
    }
    ~LogCapture() {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const QStringList& messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        LogCapture* self = s_current;
        if (self != nullptr && type == self->m_type && self->m_category == context.category) {
            self->m_messages << text;
        } else if (self != nullptr && self->m_previous != nullptr) {
            self->m_previous(type, context, text);
        }
    }

    static inline LogCapture* s_current = nullptr;
    QByteArray m_category;
    QtMsgType m_type;
    QtMessageHandler m_previous;
    QStringList m_messages;
};

}  // namespace kavrino::test_support
