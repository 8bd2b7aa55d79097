;;; fxt-mode.el --- fixture templates, checked by fxt-language-server -*- lexical-binding: t -*-

;; Load it from your init file: (load "/path/to/fxt-mode.el").
;; Keywords are highlighted, '/' starts a remark, and eglot starts
;; fxt-language-server for every template.

(require 'eglot)

(defvar fxt-mode-font-lock-keywords
  `((,(rx bol (* blank) (or "fixture" "attribute" "parameter" "end") word-end)
     . font-lock-keyword-face)
    (,(rx bol (* blank) (group (or "name" "version" "manufacturer" "product" "numdmx"
                                   "channel" "finechan" "homeval" "minval" "maxval"
                                   "deflection" "invert" "type" "attriblist"
                                   "displayernum" "stop"))
          (* blank) "=")
     1 font-lock-builtin-face)
    (,(rx word-start (or (seq "0x" (+ hex-digit)) (+ digit)) word-end)
     . font-lock-constant-face)))

(defvar fxt-mode-syntax-table
  (let ((table (make-syntax-table)))
    (modify-syntax-entry ?/ "<" table)
    (modify-syntax-entry ?\n ">" table)
    (modify-syntax-entry ?\" "\"" table)
    table))

;;;###autoload
(define-derived-mode fxt-mode prog-mode "FXT"
  "Major mode for fixture templates (.fxt)."
  :syntax-table fxt-mode-syntax-table
  (setq-local comment-start "/ ")
  (setq-local comment-end "")
  (setq-local font-lock-keywords-case-fold-search t)
  (setq-local font-lock-defaults '(fxt-mode-font-lock-keywords nil t)))

;;;###autoload
(add-to-list 'auto-mode-alist '("\\.fxt\\'" . fxt-mode))

(add-to-list 'eglot-server-programs '(fxt-mode "fxt-language-server" "--stdio"))
(add-hook 'fxt-mode-hook #'eglot-ensure)

(provide 'fxt-mode)
;;; fxt-mode.el ends here
