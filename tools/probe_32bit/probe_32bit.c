/* Tells whether this machine runs 32-bit x86 code inside a 64-bit process, as
 * Wine's WoW64 mode needs: a far return into the 32-bit user code segment 0x23
 * and the 32-bit system call gate int $0x80. Each is tried in a forked child,
 * since on a kernel that offers neither (a paravirtualised guest) both fault.
 *
 *   probe_32bit            prints "yes", or "no: <reason>", and exits 0 or 1
 *   probe_32bit --controls runs the same two transfers into code that executes
 *                          ud2: both must end in SIGILL, which shows the
 *                          children really reach the code they jump to
 *
 * A child that does not end within ChildSeconds is killed and counts as "no".
 * Host program: built with the machine's own compiler, without PIE, so that
 * the 64-bit return address fits the 32-bit far-return frame. */
#define _GNU_SOURCE
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

enum { ChildSeconds = 2, LowStackBytes = 65536, Answer = 42 };
enum { UserCode32 = 0x23, UserCode64 = 0x33, GetpidCall32 = 20 };

static const unsigned char ReturnAnswer32[] = { 0xB8, Answer, 0, 0, 0, 0xCB };  /* mov eax, 42; retf */
static const unsigned char Ud2[] = { 0x0F, 0x0B };

static void *MapLow(size_t bytes, int protection)
{
    void *p = mmap(0, bytes, protection, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    return p == MAP_FAILED ? 0 : p;
}

/* Far-returns to `code` in `segment` on a stack below 4 GB (a 32-bit stack
 * pointer is cut to its low half). The code there far-returns through the
 * frame left at the stack's top, back into 64-bit code at label 1. */
static long FarCall(const unsigned char *instructions, size_t length, long segment)
{
    unsigned char *code = MapLow(4096, PROT_READ | PROT_WRITE | PROT_EXEC);
    unsigned char *stack = MapLow(LowStackBytes, PROT_READ | PROT_WRITE);
    if (!code || !stack)
        _exit(3);
    memcpy(code, instructions, length);
    uint32_t *top = (uint32_t *)(stack + LowStackBytes - 16);
    long result;
    __asm__ volatile(
        "lea 1f(%%rip), %%rax\n\t"
        "movl %%eax, 0(%[top])\n\t"
        "movl $0x33, 4(%[top])\n\t"
        "mov %%rsp, %%r12\n\t"
        "mov %[top], %%rsp\n\t"
        "pushq %[segment]\n\t"
        "pushq %[code]\n\t"
        "lretq\n"
        "1:\n\t"
        "mov %%r12, %%rsp\n\t"
        : "=&a"(result)
        : [top] "r"(top), [code] "r"((uint64_t)(uintptr_t)code), [segment] "r"(segment)
        : "r12", "memory");
    return result;
}

static void FarTransferChild(int control)
{
    if (control)
        FarCall(Ud2, sizeof Ud2, UserCode64);
    long result = FarCall(ReturnAnswer32, sizeof ReturnAnswer32, UserCode32);
    _exit((result & 0xFFFFFFFF) == Answer ? 0 : 1);
}

static void SystemCallGateChild(int control)
{
    long result = GetpidCall32;
    if (control)
        __asm__ volatile("ud2");
    __asm__ volatile("int $0x80" : "+a"(result) : : "memory");
    _exit(result == getpid() ? 0 : 1);
}

/* Returns the child's exit code, or minus the signal that ended it. */
static int RunChild(void (*child)(int), int control)
{
    fflush(0);
    pid_t pid = fork();
    if (pid < 0)
        return -SIGABRT;
    if (pid == 0) {
        alarm(ChildSeconds);
        child(control);
        _exit(2);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        ;
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

static const char *Outcome(int result, char *text, size_t bytes)
{
    if (result < 0)
        snprintf(text, bytes, "faults (%s)", strsignal(-result));
    else
        snprintf(text, bytes, "returns a wrong result (exit %d)", result);
    return text;
}

static int RunControls(void)
{
    int far = RunChild(FarTransferChild, 1);
    int gate = RunChild(SystemCallGateChild, 1);
    printf("controls: far return %d, system call gate %d (want %d for both)\n", far, gate, -SIGILL);
    return far == -SIGILL && gate == -SIGILL ? 0 : 1;
}

int main(int argc, char **argv)
{
    if (argc > 1 && strcmp(argv[1], "--controls") == 0)
        return RunControls();
    int far = RunChild(FarTransferChild, 0);
    int gate = RunChild(SystemCallGateChild, 0);
    char farText[64], gateText[64];
    if (far == 0 && gate == 0) {
        printf("yes\n");
        return 0;
    }
    if (far != 0 && gate != 0)
        printf("no: a far return into the 32-bit code segment 0x23 %s and int $0x80 %s\n",
               Outcome(far, farText, sizeof farText), Outcome(gate, gateText, sizeof gateText));
    else if (far != 0)
        printf("no: a far return into the 32-bit code segment 0x23 %s\n", Outcome(far, farText, sizeof farText));
    else
        printf("no: int $0x80 %s\n", Outcome(gate, gateText, sizeof gateText));
    return 1;
}
