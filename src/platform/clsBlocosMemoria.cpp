#include "clsBlocosMemoria.h"

#include <cstdint>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

constexpr size_t TamRegiao = size_t(2) << 20;

// 2 MB aligned on 2 MB, marked for huge pages; null when the system gives none.
char* NovaRegiao()
{
#ifdef __linux__
    void* p = ::mmap(nullptr, 2 * TamRegiao, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    char* const inicio = static_cast<char*>(p);
    char* const alinhado
        = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(inicio) + TamRegiao - 1) & ~uintptr_t(TamRegiao - 1));
    if (alinhado > inicio)
        ::munmap(inicio, size_t(alinhado - inicio));
    if (char* const fim = alinhado + TamRegiao; fim < inicio + 2 * TamRegiao)
        ::munmap(fim, size_t(inicio + 2 * TamRegiao - fim));
    ::madvise(alinhado, TamRegiao, MADV_HUGEPAGE);
    return alinhado;
#else
    return nullptr;
#endif
}

} // namespace

clsBlocosMemoria::clsBlocosMemoria(clsBlocosMemoria&& o) noexcept
    : tamBloco(o.tamBloco),
      doHeap(std::move(o.doHeap)),
      regioes(std::move(o.regioes)),
      livresNaRegiao(std::exchange(o.livresNaRegiao, 0))
{
    o.regioes.clear();
}

clsBlocosMemoria& clsBlocosMemoria::operator=(clsBlocosMemoria&& o) noexcept
{
    if (this != &o) {
        Liberar();
        tamBloco = o.tamBloco;
        doHeap = std::move(o.doHeap);
        regioes = std::move(o.regioes);
        o.regioes.clear();
        livresNaRegiao = std::exchange(o.livresNaRegiao, 0);
    }
    return *this;
}

clsBlocosMemoria::~clsBlocosMemoria() { Liberar(); }

void clsBlocosMemoria::Liberar()
{
#ifdef __linux__
    for (const Regiao& r : regioes)
        ::munmap(r.base, r.tamanho);
#endif
    regioes.clear();
    doHeap.clear();
    livresNaRegiao = 0;
}

void clsBlocosMemoria::clear() { Liberar(); }

char* clsBlocosMemoria::Novo()
{
    const bool cabeNaRegiao = tamBloco <= TamRegiao && TamRegiao % tamBloco == 0;
    if (doHeap.size() * tamBloco < TamRegiao || !cabeNaRegiao) {
        doHeap.emplace_back(new char[tamBloco]);
        return doHeap.back().get();
    }
    if (livresNaRegiao == 0) {
        char* const r = NovaRegiao();
        if (!r) {
            doHeap.emplace_back(new char[tamBloco]);
            return doHeap.back().get();
        }
        regioes.push_back(Regiao{r, TamRegiao});
        livresNaRegiao = TamRegiao / tamBloco;
    }
    const Regiao& r = regioes.back();
    return r.base + (r.tamanho / tamBloco - livresNaRegiao--) * tamBloco;
}

void clsBlocosMemoria::Anexar(clsBlocosMemoria&& outro)
{
    for (auto& b : outro.doHeap)
        doHeap.push_back(std::move(b));
    // The free end of this store's last region stays unused: new blocks come from the other's.
    for (const Regiao& r : outro.regioes)
        regioes.push_back(r);
    if (!outro.regioes.empty())
        livresNaRegiao = outro.livresNaRegiao;
    outro.doHeap.clear();
    outro.regioes.clear();
    outro.livresNaRegiao = 0;
}
