// The page's sound: the music through the synthesizer (js-synthesizer, with
// the General MIDI soundfont beside the page) and the effects through Web
// Audio, one for the page, whichever game plays.
import { setStatus, statusLine } from './status.js';

// Told on the status line until the browser lets the sound start.
export const SOUND_HINT = '最初のクリックで音が出ます。';

export class Sound {
  constructor() {
    this.context = null;
    this.master = null;
    this.synth = null;
    this.ready = false;
    this.effect = null;
    // What the channels were set to before the synthesizer was ready.
    this.channels = [];
    this.resetChannels();
  }

  resetChannels() {
    this.channels = Array.from({ length: 16 }, () => ({ program: null, controls: new Map(), bend: null }));
  }

  open() {
    if (this.context) return true;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return false;
    this.context = new Context();
    this.master = this.context.createGain();
    this.master.connect(this.context.destination);
    // The browser lets sound start only after the player's first click or key.
    const resume = () => {
      if (this.context.state === 'running') return;
      this.context.resume().then(() => {
        if (statusLine.textContent.endsWith(SOUND_HINT)) setStatus('');
      });
    };
    for (const type of ['pointerdown', 'keydown', 'touchend']) {
      document.addEventListener(type, resume, { capture: true });
    }
    this.loadSynthesizer().catch((error) => {
      console.warn('dovetail: the music is off: ' + error);
      setStatus('音楽を鳴らせません：' + error);
    });
    return true;
  }

  async loadSynthesizer() {
    if (!window.JSSynth) throw new Error('js-synthesizer is missing');
    await JSSynth.waitForReady();
    const response = await fetch('soundfont.sf2');
    if (!response.ok) throw new Error('soundfont.sf2: ' + response.status);
    const font = await response.arrayBuffer();
    const synth = new JSSynth.Synthesizer();
    synth.init(this.context.sampleRate);
    const node = synth.createAudioNode(this.context, 4096);
    node.connect(this.master);
    await synth.loadSFont(font);
    this.synth = synth;
    this.ready = true;
    // The piece that should be playing goes on from where it stands.
    this.channels.forEach((channel, number) => {
      if (channel.program !== null) synth.midiProgramChange(number, channel.program);
      for (const [control, value] of channel.controls) synth.midiControl(number, control, value);
      if (channel.bend !== null) synth.midiPitchBend(number, channel.bend);
    });
  }

  reset() {
    this.resetChannels();
    if (this.ready) this.synth.midiSystemReset();
  }

  midi(status, data1, data2) {
    const type = status & 0xf0;
    const number = status & 0x0f;
    const channel = this.channels[number];
    if (type === 0xb0) channel.controls.set(data1, data2);
    if (type === 0xc0) channel.program = data1;
    if (type === 0xe0) channel.bend = (data2 << 7) | data1;
    if (!this.ready) return;
    const synth = this.synth;
    switch (type) {
      case 0x80: synth.midiNoteOff(number, data1); break;
      case 0x90:
        if (data2 === 0) synth.midiNoteOff(number, data1);
        else synth.midiNoteOn(number, data1, data2);
        break;
      case 0xa0: synth.midiKeyPressure(number, data1, data2); break;
      case 0xb0: synth.midiControl(number, data1, data2); break;
      case 0xc0: synth.midiProgramChange(number, data1); break;
      case 0xd0: synth.midiChannelPressure(number, data1); break;
      case 0xe0: synth.midiPitchBend(number, (data2 << 7) | data1); break;
      default: break;
    }
  }

  playEffect(samples, frames, rate) {
    if (!this.context) return;
    const buffer = this.context.createBuffer(2, frames, rate);
    const left = buffer.getChannelData(0);
    const right = buffer.getChannelData(1);
    for (let i = 0; i < frames; ++i) {
      left[i] = samples[2 * i];
      right[i] = samples[2 * i + 1];
    }
    // A new effect cuts off the one still playing.
    if (this.effect) this.effect.stop();
    const source = this.context.createBufferSource();
    source.buffer = buffer;
    source.connect(this.master);
    source.start();
    this.effect = source;
  }

  setGain(gain) {
    if (this.master) this.master.gain.value = gain;
  }
}
