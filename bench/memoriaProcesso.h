#pragma once
// A figure of this process's memory from /proc/self/status, in kB: "VmHWM:" (the peak resident
// size) or "VmRSS:" (the resident size now). 0 when it cannot be read.
#include <QFile>

inline long MemoriaProcessoKb(const char* campo = "VmHWM:")
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(campo))
            return l.mid(qsizetype(qstrlen(campo))).trimmed().split(' ').value(0).toLong();
    return 0;
}
