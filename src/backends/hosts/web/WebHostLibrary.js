// The page's side of the functions declared in PageSeam.h: each hands the
// call to the page object the module was made with (Module.page, the Session
// of web/page/session.js). Waits, modal boxes and the storing of the
// player's files suspend the program through ASYNCIFY until the page answers
// (the link's list of them is generated from PageTables.h).
mergeInto(LibraryManager.library, {
  dovetail_web_now: function () {
    return Module.page.now();
  },
  dovetail_web_wait__deps: ['$Asyncify'],
  dovetail_web_wait: function (ms) {
    return Asyncify.handleSleep(function (wakeUp) {
      Module.page.waitForInput(ms, function () { wakeUp(0); });
    });
  },
  // PageEvent's layout comes from the program's tables (PageSeamLibrary.js,
  // generated): each number a 32-bit word, each text cut to its field.
  dovetail_web_next_event__deps: ['$PageEventLayout'],
  dovetail_web_next_event: function (event) {
    var next = Module.page.nextEvent();
    if (!next) return 0;
    PageEventLayout.numbers.forEach(function (field) {
      HEAP32[(event + field.offset) >> 2] = next[field.name] || 0;
    });
    PageEventLayout.texts.forEach(function (field) {
      stringToUTF8(next[field.name] || '', event + field.offset, field.size);
    });
    return 1;
  },
  dovetail_web_present: function (pixels, width, height) {
    Module.page.present(HEAPU8.subarray(pixels, pixels + width * height * 4), width, height);
  },
  dovetail_web_message_box__deps: ['$Asyncify'],
  dovetail_web_message_box: function (text, title, okCancel) {
    return Asyncify.handleSleep(function (wakeUp) {
      Module.page.messageBox(UTF8ToString(text), UTF8ToString(title), okCancel !== 0,
                             function (ok) { wakeUp(ok ? 1 : 0); });
    });
  },
  // The reason of a refusal is written before the program resumes: its
  // buffer lies in the suspended caller's frame, which stays in place.
  dovetail_web_store_file__deps: ['$Asyncify'],
  dovetail_web_store_file: function (path, reason, size) {
    return Asyncify.handleSleep(function (wakeUp) {
      Module.page.storeFile(UTF8ToString(path), function (failure) {
        if (failure === null) {
          wakeUp(1);
          return;
        }
        stringToUTF8(failure, reason, size);
        wakeUp(0);
      });
    });
  },
  dovetail_web_show_dialog: function (id, description) {
    Module.page.showDialog(id, JSON.parse(UTF8ToString(description)));
  },
  dovetail_web_close_dialog: function (id) {
    Module.page.closeDialog(id);
  },
  dovetail_web_set_menu: function (description) {
    Module.page.setMenu(JSON.parse(UTF8ToString(description)));
  },
  dovetail_web_open_link: function (url) {
    return Module.page.openLink(UTF8ToString(url)) ? 1 : 0;
  },
  dovetail_web_diagnostic: function (line) {
    Module.page.diagnostic(UTF8ToString(line));
  },
  dovetail_web_local_now: function (date, time) {
    var now = new Date();
    var two = function (n) { return (n < 10 ? '0' : '') + n; };
    stringToUTF8(now.getFullYear() + '/' + two(now.getMonth() + 1) + '/' + two(now.getDate()),
                 date, 32);
    stringToUTF8(now.getHours() + ':' + two(now.getMinutes()) + ':' + two(now.getSeconds()),
                 time, 32);
  },
  dovetail_web_machine: function (facts) {
    var i = facts >> 3;
    HEAPF64[i] = screen.width;
    HEAPF64[i + 1] = screen.height;
    HEAPF64[i + 2] = screen.colorDepth;
    HEAPF64[i + 3] = navigator.deviceMemory || 0;
    HEAPF64[i + 4] = navigator.hardwareConcurrency || 0;
  },
  dovetail_web_system: function (name, size) {
    stringToUTF8(navigator.userAgent, name, size);
  },
  dovetail_web_ended: function (code) {
    Module.page.ended(code);
  },
  dovetail_web_report: function (waiting, serving) {
    Module.page.report(UTF8ToString(waiting), UTF8ToString(serving));
  },
  dovetail_web_log: function (line) {
    Module.page.logLine(UTF8ToString(line));
  },
  dovetail_web_audio_open: function () {
    return Module.page.audio.open() ? 1 : 0;
  },
  dovetail_web_midi: function (status, data1, data2) {
    Module.page.audio.midi(status, data1, data2);
  },
  dovetail_web_midi_reset: function () {
    Module.page.audio.reset();
  },
  dovetail_web_play_effect: function (samples, frames, rate) {
    Module.page.audio.playEffect(HEAPF32.subarray(samples >> 2, (samples >> 2) + frames * 2),
                                 frames, rate);
  },
  dovetail_web_set_gain: function (gain) {
    Module.page.audio.setGain(gain);
  },
});
