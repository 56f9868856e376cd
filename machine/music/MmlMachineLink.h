#pragma once
// What the music player needs of the machine that is running a program, so that the
// player does not depend on the machine's class. The machine implements it and the
// run view attaches it with TMmlPlayer::SetVMachine while the machine exists.

class TMmlMachineLink {
public:
    // Raises the music interrupt (bit 0x40000 of the interrupt request word); the machine
    // decides from its trap state whether the program sees it. Called on the player thread.
    virtual void RaiseMusicInterrupt() = 0;

    // True once the machine has been told to terminate. Called on the machine's own thread
    // by TMmlPlayer::MfBlocking, which stops waiting for foreground music then.
    virtual bool IsStopRequested() const = 0;

protected:
    ~TMmlMachineLink() = default;
};
