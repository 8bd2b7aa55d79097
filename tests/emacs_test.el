;;; emacs_test.el --- editors/emacs/fxt-mode.el in Emacs with eglot -*- lexical-binding: t -*-
;; A *.fxt file opens in fxt-mode, eglot starts fxt-language-server for it,
;; and the diagnostics that flymake shows are fxtlint's, code for code.
;; Run by emacs_test.sh.

(package-initialize)
(load (expand-file-name "editors/emacs/fxt-mode.el" (getenv "FXT_SOURCE")))

(defun fxt-test-fail (format &rest arguments)
  (message "FAIL: %s" (apply #'format format arguments))
  (kill-emacs 1))

(find-file (getenv "FXT_TEMPLATE"))
(unless (eq major-mode 'fxt-mode) (fxt-test-fail "major mode %s" major-mode))
;; eglot-ensure connects once the command loop runs, which batch Emacs has
;; not: connect as it would.
(unless (eglot-managed-p) (apply #'eglot (eglot--guess-contact)))
(let ((deadline (+ (float-time) 20)))
  (while (and (< (float-time) deadline) (null (flymake-diagnostics)))
    (accept-process-output nil 0.1)))
(let* ((shown (mapcar (lambda (diagnostic)
                        (let ((text (flymake-diagnostic-text diagnostic)))
                          (format "%d %s" (line-number-at-pos (flymake-diagnostic-beg diagnostic))
                                  (and (string-match "\\[\\([A-Z]+[0-9]+\\)\\]" text)
                                       (match-string 1 text)))))
                      (flymake-diagnostics)))
       (expected (split-string (getenv "FXT_EXPECTED") "\n" t)))
  (unless (equal (sort (copy-sequence shown) #'string<) (sort (copy-sequence expected) #'string<))
    (fxt-test-fail "flymake shows %S, fxtlint reports %S" shown expected)))
(message "emacs: fxt-mode and eglot show fxtlint's diagnostics")
(kill-emacs 0)
