#include "clsMotorSqlite.h"

#include "mdlCitacao.h"
#include "mdlDecimal.h"

#include <QDateTime>
#include <QFileInfo>
#include <charconv>
#include <cstring>
#include <sqlite3.h>

using namespace ado;

void sqlite::Fechador::operator()(sqlite3* db) const { sqlite3_close_v2(db); }
void sqlite::Finalizador::operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }

clsMotorSqlite::~clsMotorSqlite() { Fechar(); }

void clsMotorSqlite::Interromper()
{
    if (db)
        sqlite3_interrupt(db.get()); // safe from another thread while the connection is open
}

namespace {
// Asked by SQLite every so many steps of a statement: non-zero stops it (SQLITE_INTERRUPT).
int PararSePedido(void* flag) { return static_cast<const std::atomic<bool>*>(flag)->load(std::memory_order_relaxed); }
} // namespace

// While a stop flag is set, SQLite asks it as it works, so a statement started after the stop
// request (whose sqlite3_interrupt came too early to act) ends at its first steps.
void clsMotorSqlite::ParadaDefinida()
{
    if (!db)
        return;
    if (parada)
        sqlite3_progress_handler(db.get(), 1000, &PararSePedido, const_cast<std::atomic<bool>*>(parada.get()));
    else
        sqlite3_progress_handler(db.get(), 0, nullptr, nullptr);
}

bool clsMotorSqlite::FalharSqlite(const char* mensagem)
{
    const int codigo = db ? sqlite3_extended_errcode(db.get()) : SQLITE_ERROR;
    if ((codigo & 0xFF) == SQLITE_INTERRUPT)
        return FalharInterrompida();
    const QString texto = mensagem ? QString::fromUtf8(mensagem)
                          : db     ? QString::fromUtf8(sqlite3_errmsg(db.get()))
                                   : QStringLiteral("banco de dados fechado");
    // Another connection held the file locked for the whole time-out.
    if ((codigo & 0xFF) == SQLITE_BUSY)
        return Falhar(ErrTempoEsgotado,
                      QStringLiteral("Tempo esgotado: o banco de dados continuou bloqueado por outra conexão por "
                                     "%1 segundos (%2).")
                          .arg(EsperaBloqueio() / 1000)
                          .arg(texto));
    return Falhar(codigo, texto);
}

int clsMotorSqlite::EsperaBloqueio() const { return (tempoLimite > 0 ? tempoLimite : 5) * 1000; }

bool clsMotorSqlite::AbrirArquivo(const QString& caminho, int flags)
{
    arquivo = caminho;
    sqlite3* aberto = nullptr;
    // A connection is used by one thread at a time, so SQLite need not lock it on every call
    // (sqlite3_interrupt needs no lock either).
    const int rc = sqlite3_open_v2(caminho.toUtf8().constData(), &aberto, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    db.reset(aberto); // a handle comes back even when opening failed, and must be closed too
    if (rc != SQLITE_OK) {
        Falhar(rc, db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QString::fromUtf8(sqlite3_errstr(rc)));
        Fechar();
        return false;
    }
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), EsperaBloqueio());
    // A file that is not a database fails here rather than at the first query.
    if (!Simples("SELECT count(*) FROM sqlite_schema") || !Simples("PRAGMA foreign_keys = ON")) {
        const ErroDados e = erro;
        Fechar();
        erro = e;
        return false;
    }
    return true;
}

bool clsMotorSqlite::Abrir(const QString& caminho, bool leituraEscrita)
{
    Fechar();
    if (caminho.trimmed().isEmpty())
        return Falhar(ErrFalhaProvedor,
                      QStringLiteral("O nome do arquivo de banco de dados (Data Source) não foi informado."));
    if (!QFileInfo(caminho).isFile())
        return Falhar(ErrFalhaProvedor, QStringLiteral("Não foi possível encontrar o arquivo '%1'.").arg(caminho));
    somenteLeitura = !leituraEscrita || !QFileInfo(caminho).isWritable();
    return AbrirArquivo(caminho, somenteLeitura ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
}

bool clsMotorSqlite::Criar(const QString& caminho)
{
    Fechar();
    somenteLeitura = false;
    if (!AbrirArquivo(caminho, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE))
        return false;
    // Writes the header, so the new file is recognised as a database at once.
    return Simples("PRAGMA user_version = 0") && Simples("VACUUM");
}

void clsMotorSqlite::Fechar()
{
    insercao.reset();
    sqlInsercao.clear();
    db.reset();
}

bool clsMotorSqlite::Simples(const char* sql)
{
    char* msg = nullptr;
    const int rc = sqlite3_exec(db.get(), sql, nullptr, nullptr, &msg);
    if (rc != SQLITE_OK) {
        FalharSqlite(msg ? msg : sqlite3_errstr(rc));
        sqlite3_free(msg);
        return false;
    }
    return true;
}

bool clsMotorSqlite::Preparar(const char* sql, int n, sqlite::Stmt& st, const char** resto)
{
    sqlite3_stmt* p = nullptr;
    const int rc = sqlite3_prepare_v2(db.get(), sql, n, &p, resto);
    st.reset(p);
    return rc == SQLITE_OK || FalharSqlite();
}

bool clsMotorSqlite::IniciarTransacao() { return db ? Simples("BEGIN") : FalharFechada(); }
bool clsMotorSqlite::ConfirmarTransacao() { return db ? Simples("COMMIT") : FalharFechada(); }
bool clsMotorSqlite::DesfazerTransacao() { return db ? Simples("ROLLBACK") : FalharFechada(); }
bool clsMotorSqlite::EmTransacao() const { return db && !sqlite3_get_autocommit(db.get()); }

// Brackets cannot carry a "]" in SQLite; double quotes with doubled quotes carry any name.
QString clsMotorSqlite::CitarIdentificador(const QString& nome) const
{
    return citacao::Citar(TipoMotor::ArquivoJet, nome);
}

QVariant clsMotorSqlite::UltimoIdInserido()
{
    return db ? QVariant(qlonglong(sqlite3_last_insert_rowid(db.get()))) : QVariant();
}

namespace {

bool EhDml(sqlite3_stmt* st)
{
    const char* s = sqlite3_sql(st);
    while (*s == ' ' || *s == '\t' || *s == '\r' || *s == '\n')
        ++s;
    for (const char* k : {"INSERT", "UPDATE", "DELETE", "REPLACE"})
        if (sqlite3_strnicmp(s, k, int(strlen(k))) == 0)
            return true;
    return false;
}

// The storage class that keeps a decimal exactly: SQLITE_INTEGER when it is an integer of 64 bits,
// SQLITE_FLOAT when a double reads back as the same number, else SQLITE_TEXT.
int ClasseExata(std::string_view texto, int64_t& inteiro, double& real)
{
    if (texto.find('.') == std::string_view::npos) {
        const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), inteiro);
        if (r.ec == std::errc() && r.ptr == texto.data() + texto.size())
            return SQLITE_INTEGER;
    }
    const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), real);
    std::string volta;
    if (r.ec == std::errc() && decimal::DeReal(real, volta) && decimal::Comparar(volta, texto) == 0)
        return SQLITE_FLOAT;
    return SQLITE_TEXT;
}

// A decimal goes in as the storage class that keeps it exactly.
void VincularDecimal(sqlite3_stmt* st, int k, const QByteArray& texto)
{
    int64_t i = 0;
    double d = 0;
    switch (ClasseExata(std::string_view(texto.constData(), size_t(texto.size())), i, d)) {
    case SQLITE_INTEGER: sqlite3_bind_int64(st, k, i); break;
    case SQLITE_FLOAT: sqlite3_bind_double(st, k, d); break;
    default:
        sqlite3_bind_text64(st, k, texto.constData(), sqlite3_uint64(texto.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
        break;
    }
}

} // namespace

QString clsMotorSqlite::DecimalNaoGuardado(const QString& coluna, std::string_view canonico, bool lido) const
{
    const QString valor = QString::fromLatin1(canonico.data(), qsizetype(canonico.size()));
    // Only a value kept as text is read as a decimal: the file's integers and reals stay numbers.
    if (lido)
        return QStringLiteral("O valor %1 da coluna '%2' está guardado como texto, e o SQLite o converteria em "
                              "número ao gravar a linha. A linha não foi gravada, para não alterar esse valor.")
            .arg(valor, coluna);
    int64_t i;
    double d;
    if (ClasseExata(canonico, i, d) == SQLITE_TEXT)
        return QStringLiteral("O SQLite não guarda exatamente o valor %1 na coluna '%2': ele seria arredondado. "
                              "Nada foi gravado.")
            .arg(valor, coluna);
    return {};
}

QVariant clsMotorSqlite::DecimalGuardadoComo(std::string_view canonico) const
{
    int64_t i;
    double d;
    switch (ClasseExata(canonico, i, d)) {
    case SQLITE_INTEGER: return QVariant(qlonglong(i));
    case SQLITE_FLOAT: return QVariant(d);
    default: return {};
    }
}

bool clsMotorSqlite::Preencher(const sqlite::Stmt& stmt,
                               RecordsetPtr* rs,
                               int lockType,
                               const QString& sql,
                               bool emBlocos)
{
    sqlite3_stmt* const st = stmt.get();
    auto d = std::make_shared<clsRecordsetDados>();
    const int n = sqlite3_column_count(st);
    std::vector<char> ehData(size_t(n), 0), ehDecimal(size_t(n), 0);
    for (int c = 0; c < n; ++c) {
        CampoInfo f;
        f.nome = QString::fromUtf8(sqlite3_column_name(st, c));
        const char* decl = sqlite3_column_decltype(st, c);
        const char* tab = sqlite3_column_table_name(st, c);
        const char* col = sqlite3_column_origin_name(st, c);
        bool anulavel = true;
        if (tab && col) {
            f.tabelaBase = QString::fromUtf8(tab);
            f.colunaBase = QString::fromUtf8(col);
            // A table of an attached file is written there, not to a namesake in the main one.
            if (const char* banco = sqlite3_column_database_name(st, c); banco && std::strcmp(banco, "main") != 0)
                f.esquemaBase = QString::fromUtf8(banco);
            int notNull = 0, pk = 0, autoinc = 0;
            if (sqlite3_table_column_metadata(db.get(),
                                              sqlite3_column_database_name(st, c),
                                              tab,
                                              col,
                                              nullptr,
                                              nullptr,
                                              &notNull,
                                              &pk,
                                              &autoinc)
                == SQLITE_OK)
                anulavel = !notNull && !autoinc;
        }
        if (decl) {
            const TipoDeclarado t = InterpretarTipoDeclarado(QString::fromUtf8(decl));
            f.tipo = t.tipoCampo;
            f.tamanho = (TipoTexto(t.tipoCampo) || TipoBinario(t.tipoCampo)) ? t.tamanho : TamanhoFixo(t.tipoCampo);
            f.precisao = t.precisao;
            f.escala = t.escala;
            f.atributos = FlagsColuna(t, anulavel, !somenteLeitura);
            ehData[size_t(c)] = TipoData(f.tipo);
            const QString nomeTipo = QString::fromUtf8(decl).trimmed().section(u'(', 0, 0).trimmed().toUpper();
            if (nomeTipo == u"DATE")
                f.formaData = CampoInfo::FormaData::SoData;
            else if (nomeTipo == u"TIME")
                f.formaData = CampoInfo::FormaData::SoHora;
            ehDecimal[size_t(c)] = TipoDecimal(f.tipo);
        } else {
            f.tipoFixado = false;
            f.atributos = ISNULLABLE | MAYBENULL;
        }
        d->campos.append(f);
    }
    if (emBlocos && entregaLinhas)
        d->DefinirEntrega(entregaLinhas);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: d->AcrescentarInteiro(c, sqlite3_column_int64(st, c)); break;
            case SQLITE_FLOAT: d->AcrescentarReal(c, sqlite3_column_double(st, c)); break;
            case SQLITE_TEXT: {
                const char* p = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
                const size_t len = size_t(sqlite3_column_bytes(st, c));
                int64_t ms;
                // "yyyy-MM-dd HH:mm:ss" is kept as a date: it is written back in exactly that form.
                // Any other text stays text, so it matches itself when the row is written back.
                if (ehData[size_t(c)] && len == 19 && p[10] == ' ' && clsRecordsetDados::TextoParaMs(p, len, ms))
                    d->AcrescentarData(c, ms);
                else if (ehDecimal[size_t(c)] && decimal::Canonico(std::string_view(p, len)))
                    d->AcrescentarDecimal(c, p, len); // a decimal kept as text, digit for digit
                else
                    d->AcrescentarTexto(c, p, len);
                break;
            }
            case SQLITE_BLOB: {
                const char* p = static_cast<const char*>(sqlite3_column_blob(st, c));
                d->AcrescentarBinario(c, p, size_t(sqlite3_column_bytes(st, c)));
                break;
            }
            default: d->AcrescentarNulo(c); break;
            }
        }
        d->FecharLinha();
    }
    if (rc != SQLITE_DONE) {
        if ((rc & 0xFF) == SQLITE_INTERRUPT)
            d->EntregarBloco();
        return FalharSqlite();
    }
    d->DefinirEntrega({});
    d->motor = std::static_pointer_cast<clsMotor>(shared_from_this());
    d->fonte = sql;
    if (somenteLeitura)
        lockType = adLockReadOnly;
    *rs = clsRecordset::Criar(std::move(d), lockType);
    return true;
}

bool clsMotorSqlite::Executar(const QString& sql, RecordsetPtr* rs, int lockType, long* afetados)
{
    if (rs)
        rs->reset();
    if (afetados)
        *afetados = -1;
    if (!db)
        return FalharFechada();
    const QByteArray u = sql.toUtf8();
    const char* p = u.constData();
    const char* fim = p + u.size();
    long total = -1;
    while (p < fim) {
        sqlite::Stmt st;
        const char* resto = nullptr;
        if (!Preparar(p, int(fim - p), st, &resto))
            return false;
        p = resto;
        if (!st)
            continue; // blanks or a comment
        if (PararPedido()) {
            if (rs)
                rs->reset();
            return FalharInterrompida();
        }
        if (somenteLeitura && !sqlite3_stmt_readonly(st.get()))
            return Falhar(SQLITE_READONLY, QStringLiteral("O banco de dados foi aberto somente para leitura."));
        bool ok = true;
        if (sqlite3_column_count(st.get()) > 0 && rs && !*rs) {
            ok = Preencher(st, rs, lockType, sql, true);
        } else {
            const sqlite3_int64 antes = sqlite3_total_changes64(db.get());
            int rc;
            while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
            }
            ok = rc == SQLITE_DONE || FalharSqlite();
            if (ok && (EhDml(st.get()) || sqlite3_total_changes64(db.get()) != antes))
                total = (total < 0 ? 0 : total) + long(sqlite3_changes64(db.get()));
        }
        if (!ok) {
            if (rs)
                rs->reset();
            return false;
        }
    }
    if (afetados)
        *afetados = total;
    return true;
}

bool clsMotorSqlite::DevolveLinhasInseridas() const { return sqlite3_libversion_number() >= 3035000; }

bool clsMotorSqlite::MesmoNome(const QString& a, const QString& b) const
{
    return sqlite3_stricmp(a.toUtf8().constData(), b.toUtf8().constData()) == 0;
}

bool clsMotorSqlite::ExecutarComParametros(const QString& sql,
                                           const std::vector<QVariant>& valores,
                                           long& afetados,
                                           RecordsetPtr* linhas)
{
    afetados = 0;
    if (linhas)
        linhas->reset();
    if (!db)
        return FalharFechada();
    sqlite::Stmt stmt;
    if (!Preparar(sql.toUtf8().constData(), -1, stmt))
        return false;
    sqlite3_stmt* const st = stmt.get();
    for (size_t i = 0; i < valores.size(); ++i) {
        const QVariant& v = valores[i];
        const int k = int(i) + 1;
        if (v.isNull()) {
            sqlite3_bind_null(st, k);
            continue;
        }
        if (v.metaType() == QMetaType::fromType<decimal::Parametro>()) {
            VincularDecimal(st, k, v.value<decimal::Parametro>().texto);
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::Bool: sqlite3_bind_int(st, k, v.toBool() ? 1 : 0); break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort: sqlite3_bind_int64(st, k, v.toLongLong()); break;
        case QMetaType::Double:
        case QMetaType::Float: sqlite3_bind_double(st, k, v.toDouble()); break;
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            sqlite3_bind_blob64(st, k, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDateTime: {
            const QDateTime d = v.toDateTime();
            const QString f
                = d.time().msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz") : QStringLiteral("yyyy-MM-dd HH:mm:ss");
            sqlite3_bind_text(st, k, d.toString(f).toUtf8().constData(), -1, SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDate:
            sqlite3_bind_text(st, k, v.toDate().toString(Qt::ISODate).toUtf8().constData(), -1, SQLITE_TRANSIENT);
            break;
        default: {
            const QByteArray t = v.toString().toUtf8();
            sqlite3_bind_text64(st, k, t.constData(), sqlite3_uint64(t.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        }
    }
    bool ok;
    if (linhas && sqlite3_column_count(st) > 0) {
        ok = Preencher(stmt, linhas, adLockReadOnly, QString());
    } else {
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        ok = rc == SQLITE_DONE || FalharSqlite();
    }
    if (ok)
        afetados = long(sqlite3_changes64(db.get()));
    return ok;
}

bool clsMotorSqlite::InserirLinhas(const QString& sql,
                                   const clsRecordsetDados& bloco,
                                   uint32_t de,
                                   uint32_t qtde,
                                   const std::vector<FormaData>& formas,
                                   uint32_t& falhou)
{
    falhou = de;
    if (!db)
        return FalharFechada();
    if (somenteLeitura)
        return Falhar(SQLITE_READONLY, QStringLiteral("O banco de dados foi aberto somente para leitura."));
    if (!insercao || sql != sqlInsercao) {
        insercao.reset();
        if (!Preparar(sql.toUtf8().constData(), -1, insercao))
            return false;
        sqlInsercao = sql;
    }
    sqlite3_stmt* const st = insercao.get();
    const int n = bloco.QtdeCampos();
    QByteArray texto;
    for (uint32_t r = de; r < de + qtde; ++r) {
        if (PararPedido())
            return FalharInterrompida();
        sqlite3_reset(st);
        for (int c = 0; c < n; ++c) {
            const Celula v = bloco.Ler(r, c);
            const int k = c + 1;
            switch (v.marca) {
            case Marca::Nulo: sqlite3_bind_null(st, k); break;
            case Marca::Inteiro: sqlite3_bind_int64(st, k, sqlite3_int64(v.carga)); break;
            case Marca::Real: {
                double d;
                std::memcpy(&d, &v.carga, 8);
                sqlite3_bind_double(st, k, d);
                break;
            }
            case Marca::Texto:
            case Marca::Binario: {
                uint32_t tam;
                const char* p = bloco.Bytes(v, tam);
                if (v.marca == Marca::Texto)
                    sqlite3_bind_text64(st, k, p, tam, SQLITE_STATIC, SQLITE_UTF8);
                else
                    sqlite3_bind_blob64(st, k, p, tam, SQLITE_STATIC);
                break;
            }
            case Marca::Decimal: {
                uint32_t tam;
                const char* p = bloco.Bytes(v, tam);
                VincularDecimal(st, k, QByteArray::fromRawData(p, qsizetype(tam)));
                break;
            }
            case Marca::Data: {
                // As ExecutarComParametros writes a date-time, a date or a time.
                texto = TextoDataGravada(int64_t(v.carga),
                                         size_t(c) < formas.size() ? formas[size_t(c)] : FormaData::Natural)
                            .toUtf8();
                sqlite3_bind_text64(st,
                                    k,
                                    texto.constData(),
                                    sqlite3_uint64(texto.size()),
                                    SQLITE_TRANSIENT,
                                    SQLITE_UTF8);
                break;
            }
            }
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            falhou = r;
            FalharSqlite();
            sqlite3_reset(st);
            return false;
        }
    }
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    return true;
}
